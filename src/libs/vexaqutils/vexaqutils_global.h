#pragma once
#if defined(__GNUC__) || defined(__clang__)
#define VEXAQUTILS_DECL_EXPORT __attribute__((visibility("default")))
#define VEXAQUTILS_DECL_IMPORT __attribute__((visibility("default")))
#else
#define VEXAQUTILS_DECL_EXPORT __declspec(dllexport)
#define VEXAQUTILS_DECL_IMPORT __declspec(dllimport)
#endif
#if defined(VEXAQUTILS_LIBRARY)
#define VEXAQUTILS_EXPORT VEXAQUTILS_DECL_EXPORT
#else
#define VEXAQUTILS_EXPORT VEXAQUTILS_DECL_IMPORT
#endif
