#include "tests/support/LoopbackPorts.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QUdpSocket>

uint16_t FreeTcpPort() {
  QTcpServer probe;
  return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

uint16_t FreeUdpPort() {
  QUdpSocket probe;
  return probe.bind(QHostAddress::LocalHost, 0) ? probe.localPort() : 0;
}
