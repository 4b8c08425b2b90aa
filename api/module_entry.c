/* The catalog manager shared library: its code comes whole from zarn_core. */
typedef int zarn_module_entry_unused;
