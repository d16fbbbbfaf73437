#include "common/HandlerErrors.h"

#include <exception>

namespace {

TErrorHook& Hook() {
  static TErrorHook hook;
  return hook;
}

}  // namespace

void SetErrorHook(TErrorHook hook) {
  Hook() = std::move(hook);
}

void HandleCurrentException() {
  if (!Hook()) throw;
  std::string message = "Unexpected error";
  try {
    throw;
  } catch (const std::exception& error) {
    message = error.what();
  } catch (...) {
  }
  Hook()(message);
}
