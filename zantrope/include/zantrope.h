/* The functions a host calls in the zantrope library, and the block the two
   step functions hand out. Every name is an undecorated C function.

   Ownership: the texts that colorize_line (except its empty answer for an
   empty line), make_display_hint and read_in_dat_file_from_orvo return, and
   the zantrope_step_result block, are allocated with malloc; the host frees
   each with free. The two texts inside a step result and the bytes that
   get_entity_info hands out stay the library's: the host never frees them.
   The bytes of get_entity_info stay valid until its next call.

   Call SetupData once before anything else. The library is not re-entrant:
   call it from one thread only. */
#ifndef ZANTROPE_H
#define ZANTROPE_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct zantrope_step_result {
  const char* address_text;     /* last text of the watched address signal */
  const char* accumulator_text; /* last text of the watched accumulator signal */
  int32_t line;                 /* source line about to run, -1 for none */
  uint8_t changed;              /* 1: the watched address changed; 0: the run ended */
} zantrope_step_result;

int32_t SetupData(void);
void prepare_compile(void);
void compile_file(const char* source, const char* name);
void pre_make(void);
void MakeProject(void);
char* read_in_dat_file_from_orvo(void);
void init_watch_signals(void);
int32_t get_entity_info(void** data);
void trace_into(void);
void trace_into_subprogram(void);
void __trace_stop(void);
void step_cpu_simulation(zantrope_step_result** out);
void step_cpu_vhdl(zantrope_step_result** out);
char* make_display_hint(const char* line, int32_t column);
char* colorize_line(const char* line);

#ifdef __cplusplus
}
#endif

#endif
