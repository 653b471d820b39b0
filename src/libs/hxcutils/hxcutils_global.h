#pragma once
#if defined(__GNUC__) || defined(__clang__)
#define HXCUTILS_DECL_EXPORT __attribute__((visibility("default")))
#define HXCUTILS_DECL_IMPORT __attribute__((visibility("default")))
#else
#define HXCUTILS_DECL_EXPORT __declspec(dllexport)
#define HXCUTILS_DECL_IMPORT __declspec(dllimport)
#endif
#if defined(HXCUTILS_LIBRARY)
#define HXCUTILS_EXPORT HXCUTILS_DECL_EXPORT
#else
#define HXCUTILS_EXPORT HXCUTILS_DECL_IMPORT
#endif
