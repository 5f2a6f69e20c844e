/* bench_tool quit            exits at once
 * bench_tool hang PIDFILE    starts a child, writes "tool child" to PIDFILE, then both
 *                            print a progress line every 10 ms until killed */
#include <stdio.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc > 2 && !strcmp(argv[1], "hang")) {
        pid_t child = fork();
        if (child != 0) {
            FILE* f = fopen(argv[2], "w");
            if (f) {
                fprintf(f, "%d %d\n", (int)getpid(), (int)child);
                fclose(f);
            }
        }
        struct timespec t = {0, 10 * 1000000L};
        for (int i = 0;; ++i) {
            fprintf(stderr, "frame= %5d fps= 25 q=2.0 size=  %5dkB time=%d.%02d bitrate= 204.8kbits/s\r", i, i * 4,
                    i / 25, (i % 25) * 4);
            nanosleep(&t, NULL);
        }
    }
    return 0;
}
