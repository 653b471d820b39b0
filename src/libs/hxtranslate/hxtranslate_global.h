#pragma once
#if defined(__GNUC__) || defined(__clang__)
#define HXTRANSLATE_DECL_EXPORT __attribute__((visibility("default")))
#define HXTRANSLATE_DECL_IMPORT __attribute__((visibility("default")))
#else
#define HXTRANSLATE_DECL_EXPORT __declspec(dllexport)
#define HXTRANSLATE_DECL_IMPORT __declspec(dllimport)
#endif
#if defined(HXTRANSLATE_LIBRARY)
#define HXTRANSLATE_EXPORT HXTRANSLATE_DECL_EXPORT
#else
#define HXTRANSLATE_EXPORT HXTRANSLATE_DECL_IMPORT
#endif
