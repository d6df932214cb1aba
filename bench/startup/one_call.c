/* The start-up pair of scripts/bench tools: one small call, made with Corvala (WITH_CORVALA,
   linked static or shared) or with the C library alone. Given an argument, the program first
   prints its minor page faults and resident memory as they stand before that call. */
#include <stdio.h>
#include <sys/resource.h>

#ifdef WITH_CORVALA
#include <corvala/corvala_c.h>
#endif

int main(int argc, char** argv) {
  (void)argv;
  if (argc > 1) {
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    printf("minor faults %ld, resident %ld KB\n", usage.ru_minflt, usage.ru_maxrss);
  }
  char text[12];
#ifdef WITH_CORVALA
  cv_IntToDecimal(argc, text);
#else
  snprintf(text, sizeof text, "%d", argc);
#endif
  return text[0] == '1' ? 0 : 1;
}
