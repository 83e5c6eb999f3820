#ifndef PLOTVANE_EXPORT_H
#define PLOTVANE_EXPORT_H

// Everything is hidden by default; only what carries PLOTVANE_API is part of the library's ABI.
#if defined(_WIN32)
#if defined(PLOTVANE_BUILDING)
#define PLOTVANE_API __declspec(dllexport)
#else
#define PLOTVANE_API __declspec(dllimport)
#endif
#else
#define PLOTVANE_API __attribute__((visibility("default")))
#endif

#endif
