// The two functions that the host looks up in the plug-in library.
#ifndef ORVEL_PLUGIN_EXPORTS_H_
#define ORVEL_PLUGIN_EXPORTS_H_

#include <cstdint>

#include "common/calling_convention.h"

#if defined(_WIN32)
#define ORVEL_EXPORT __declspec(dllexport)
#else
#define ORVEL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

// Copies the identity texts into the five caller-owned buffers of `size`
// bytes (only its low 16 bits count): the batch entry's name, the
// description, the credits, the version and "3".
ORVEL_EXPORT void ORVEL_STDCALL funcGetInfo(std::int32_t unused, char* name,
                                            char* description, char* credits,
                                            char* version, char* kind,
                                            std::int32_t size);

// Runs one batch look-up and writes the output file.
ORVEL_EXPORT void ORVEL_STDCALL DownlaodFunc(const char* work_folder,
                                             const char* output_path,
                                             const char* code_list);
}

#endif  // ORVEL_PLUGIN_EXPORTS_H_
