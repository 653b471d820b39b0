#pragma once
#if defined(__GNUC__) || defined(__clang__)
#define HXRUNTIME_DECL_EXPORT __attribute__((visibility("default")))
#define HXRUNTIME_DECL_IMPORT __attribute__((visibility("default")))
#else
#define HXRUNTIME_DECL_EXPORT __declspec(dllexport)
#define HXRUNTIME_DECL_IMPORT __declspec(dllimport)
#endif
#if defined(HXRUNTIME_LIBRARY)
#define HXRUNTIME_EXPORT HXRUNTIME_DECL_EXPORT
#else
#define HXRUNTIME_EXPORT HXRUNTIME_DECL_IMPORT
#endif
