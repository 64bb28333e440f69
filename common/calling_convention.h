// The Windows standard calling convention (the callee removes its arguments),
// which the host's exports and services use. Elsewhere there is one convention.
#ifndef ORVEL_COMMON_CALLING_CONVENTION_H_
#define ORVEL_COMMON_CALLING_CONVENTION_H_

#if defined(_WIN32) && !defined(_WIN64)
#define ORVEL_STDCALL __attribute__((stdcall))
#else
#define ORVEL_STDCALL
#endif

#endif  // ORVEL_COMMON_CALLING_CONVENTION_H_
