#include "platform/ini_reader.h"

namespace orvel {

std::string ReadIniValue(std::string_view /*contents*/, std::string_view /*section*/,
                         std::string_view /*key*/, const std::string& default_value) {
  return default_value.substr(0, kIniValueLimit);
}

}  // namespace orvel
