// korvane.exe: a stand-in for the catalogue application. It exports the
// host's services, loads the plug-in and runs one batch look-up, as the real
// host does, from the command line.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "host/host_platform.h"
#include "host/services.h"

namespace {

constexpr const char* kUsage =
    "Usage: korvane.exe [--plugin FILE] [--work DIR] [--out FILE] [--show] CODES_FILE\n"
    "\n"
    "Runs one batch look-up of the plug-in, as the catalogue application does.\n"
    "CODES_FILE holds one code per line (ISBN-10, ISBN-13, JAN, or an 18- or\n"
    "26-character combined code); - reads the codes from standard input.\n"
    "\n"
    "  --plugin FILE  the plug-in library (default: next to this program)\n"
    "  --work DIR     the work folder with the dictionaries and the scratch\n"
    "                 file (default: the current directory)\n"
    "  --out FILE     the output file (default: books.csv in the work folder)\n"
    "  --show         print the output file, decoded to UTF-8\n"
    "  --stop-at N    for tests: request a stop when the Nth code is checked\n"
    "  --help         this text\n"
    "\n"
    "Setting.ini next to this program gives the defaults of the purchase,\n"
    "tax and read settings (section Entry).\n";

int UsageError(const std::string& message) {
  std::cerr << "korvane.exe: " << message << "\n"
            << "Try 'korvane.exe --help'.\n";
  return 2;
}

struct Options {
  std::string plugin;
  std::string work;
  std::string out;
  std::string codes_file;
  bool show = false;
  int stop_at = 0;
};

// Counts the records of an output file: lines end with CR LF outside quotes.
}  // namespace

namespace korvane {
int CountRecords(const std::string& contents) {
  int records = 0;
  bool quoted = false;
  for (std::size_t i = 0; i < contents.size(); ++i) {
    if (contents[i] == '"') quoted = !quoted;
    if (!quoted && contents[i] == '\r' && i + 1 < contents.size() &&
        contents[i + 1] == '\n') {
      ++records;
    }
  }
  return records;
}

}  // namespace korvane

namespace {

bool ReadAll(std::istream& stream, std::string* contents) {
  contents->assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
  return !stream.bad();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string argument = argv[i];
    auto value = [&](const char* name) -> const char* {
      if (i + 1 >= argc) return nullptr;
      (void)name;
      return argv[++i];
    };
    if (argument == "--help" || argument == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (argument == "--show") {
      options.show = true;
    } else if (argument == "--plugin" || argument == "--work" || argument == "--out" ||
               argument == "--stop-at") {
      const char* text = value(argument.c_str());
      if (text == nullptr) return UsageError(argument + " needs a value");
      if (argument == "--plugin") options.plugin = text;
      if (argument == "--work") options.work = text;
      if (argument == "--out") options.out = text;
      if (argument == "--stop-at") {
        char* end = nullptr;
        long number = std::strtol(text, &end, 10);
        if (end == text || *end != '\0' || number < 1) {
          return UsageError("--stop-at needs a number of 1 or more");
        }
        options.stop_at = static_cast<int>(number);
      }
    } else if (argument.size() > 1 && argument[0] == '-') {
      return UsageError("unknown option " + argument);
    } else if (options.codes_file.empty()) {
      options.codes_file = argument;
    } else {
      return UsageError("only one CODES_FILE may be given");
    }
  }
  if (options.codes_file.empty()) return UsageError("no CODES_FILE given");

  std::string codes;
  if (options.codes_file == "-") {
    ReadAll(std::cin, &codes);
  } else {
    std::ifstream file(options.codes_file, std::ios::binary);
    if (!file) return UsageError("cannot read the code list " + options.codes_file);
    ReadAll(file, &codes);
  }
  if (options.plugin.empty()) options.plugin = korvane::DefaultPluginPath();
  if (options.work.empty()) {
    options.work = korvane::CurrentFolderWithSeparator();
  } else if (options.work.back() != '/' && options.work.back() != korvane::PathSeparator()) {
    options.work.push_back(korvane::PathSeparator());
  }
  if (options.out.empty()) options.out = options.work + "books.csv";

  korvane::PluginLibrary plugin;
  std::string error;
  if (!korvane::LoadPluginLibrary(options.plugin, &plugin, &error)) {
    return UsageError("cannot load the plug-in: " + error);
  }

  char texts[5][256];
  plugin.get_info(0, texts[0], texts[1], texts[2], texts[3], texts[4], sizeof(texts[0]));
  std::cout << "Plug-in: " << korvane::ForTerminal(texts[2]) << "\n"
            << "  entry " << texts[0] << ", version " << texts[3] << ", kind " << texts[4]
            << "\n"
            << "  " << korvane::ForTerminal(texts[1]) << "\n";

  if (options.stop_at > 0) {
    int stop_at = options.stop_at;
    korvane::SetCheckObserver([stop_at](int call) {
      if (call == stop_at) korvane::RequestStop();
    });
  }
  korvane::HoldStopRequests();
  plugin.download(options.work.c_str(), options.out.c_str(), codes.c_str());
  korvane::ReleaseStopRequests();
  korvane::UnloadPluginLibrary(&plugin);

  std::ifstream output(options.out, std::ios::binary);
  if (!output) {
    std::cout << "No output file was written.\n";
    return 0;
  }
  std::string contents;
  ReadAll(output, &contents);
  int records = korvane::CountRecords(contents);
  std::cout << records << (records == 1 ? " book" : " books") << " written to "
            << options.out << "\n";
  if (options.show) std::cout << korvane::ForTerminal(contents);
  return 0;
}
