/*
 * zarn_std_macros.h -- common macros of the sample device library
 *
 * Shared by every manufacturer directory below examples/devices. Found through the
 * include path: each ancestor directory of a source is searched, followed by its
 * _global subdirectory.
 */
#ifndef ZARN_STD_MACROS_H
#define ZARN_STD_MACROS_H

#define ZARN_STD_MACROS_VERSION 0x0102

/* The identification header, written as one line. */
#define ZARN_IDENTIFICATION(mfr, type, rev, ddrev) \
  MANUFACTURER mfr, DEVICE_TYPE type, DEVICE_REVISION rev, DD_REVISION ddrev

/* A label in English and German. */
#define LABEL_EN_DE(en, de) LABEL "|en|" en "|de|" de
#define HELP_EN_DE(en, de) HELP "|en|" en "|de|" de

/* Access rights */
#define RW READ& WRITE
#define RO READ

/* Variable classes */
#define CLASS_DEVICE_DYN DEVICE& DYNAMIC
#define CLASS_CONTAINED CONTAINED

/* Unit codes (common table) */
#define UNIT_DEG_C 32
#define UNIT_DEG_F 33
#define UNIT_KELVIN 35
#define UNIT_BAR 7
#define UNIT_MBAR 8
#define UNIT_KPA 12
#define UNIT_KG_PER_H 75
#define UNIT_T_PER_H 78
#define UNIT_M3_PER_H 19
#define UNIT_L_PER_MIN 17
#define UNIT_METER 45
#define UNIT_PERCENT 57
#define UNIT_PH 59

/* Builds a name with a manufacturer prefix: ZARN_NAME(zx, tag) gives zx_tag. */
#define ZARN_NAME(prefix, name) prefix##_##name
/* A string holding the text of a macro argument. */
#define ZARN_STR(x) #x
#define ZARN_XSTR(x) ZARN_STR(x)

#endif /* ZARN_STD_MACROS_H */
