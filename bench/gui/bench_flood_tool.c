/* A stand-in tool that floods its output with progress lines for a given number of
   seconds, as fast as the pipe takes them. Usage: bench_flood_tool SECONDS */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double Now(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? atof(argv[1]) : 3.0;
    const char* head = "Input #0, avi, from 'in.avi':\n  Duration: 00:01:40.00, start: 0.000000, bitrate: 1411 kb/s\n";
    if (write(1, head, strlen(head)) < 0) return 1;
    const double start = Now();
    char line[160];
    for (long i = 0; Now() - start < seconds; ++i) {
        const long cs = i % 10000;
        const int n = snprintf(line, sizeof line,
                               "frame= %5ld fps= 25 q=2.0 size=   1234kB time=%ld.%02ld bitrate= 204.8kbits/s\r",
                               i, cs / 100, cs % 100);
        if (write(1, line, (size_t)n) < 0) return 0;
    }
    return 0;
}
