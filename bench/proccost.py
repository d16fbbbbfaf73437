"""What a running process costs the machine, read from /proc: CPU time of all
its threads and their voluntary context switches (wake-ups), and the share of
its main (GUI) thread. Shared by bench/idle-cost and bench/replay-cost."""
import os
import subprocess
import time


def sample(pid):
    """CPU seconds of every thread (from the scheduler's nanosecond count, as
    the tick-based counters are too coarse for a program that should hardly
    run), their voluntary context switches, and those of the GUI thread."""
    cpu = 0.0
    gui_cpu = 0.0
    switches = 0
    gui = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as schedstat:
                seconds = int(schedstat.read().split()[0]) / 1e9
                cpu += seconds
                if task == str(pid):
                    gui_cpu = seconds
            with open(f"/proc/{pid}/task/{task}/status") as status:
                for line in status:
                    if line.startswith("voluntary_ctxt_switches:"):
                        switches += int(line.split()[1])
                        if task == str(pid):
                            gui = int(line.split()[1])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return cpu, switches, gui_cpu, gui


def measure(name, command, environment, seconds, settle=2.0):
    """Runs command, lets it settle, and prints its cost over `seconds`."""
    program = subprocess.Popen(command, env=environment,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(settle)  # start-up is not what is measured
        cpu0, switches0, gui_cpu0, gui0 = sample(program.pid)
        start = time.monotonic()
        time.sleep(seconds)
        cpu1, switches1, gui_cpu1, gui1 = sample(program.pid)
        elapsed = time.monotonic() - start
    finally:
        program.terminate()
        program.wait()
    print(f"{name:8} {100 * (cpu1 - cpu0) / elapsed:6.2f} % of a core  "
          f"{(switches1 - switches0) / elapsed:7.1f} wake-ups/s  over {elapsed:.1f} s")
    print(f"{'':8} {100 * (gui_cpu1 - gui_cpu0) / elapsed:6.2f} % and "
          f"{(gui1 - gui0) / elapsed:.1f} wake-ups/s of them the GUI thread's")
