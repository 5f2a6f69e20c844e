/* A stand-in for a helper tool, for the tests that need a tool to misbehave.
 *   fake_tool exit N              exits with status N
 *   fake_tool crash               dies of SIGSEGV
 *   fake_tool say TEXT...         writes each TEXT to stderr (C escapes \r \n \t \\
 *                                 are decoded), pausing 30 ms between them
 *   fake_tool sleep               sleeps until killed
 *   fake_tool hang [PIDFILE]      starts a child, writes "tool child" pids to PIDFILE,
 *                                 and both sleep until killed
 *   fake_tool orphan PIDFILE      starts a child that keeps stdout open for 30 s,
 *                                 writes its pid, says one line and exits at once
 *   fake_tool flood MB            writes MB megabytes of 'x' to stdout
 *   fake_tool binary              writes every byte value, many times
 *   fake_tool fds                 prints how many descriptors above 2 it holds
 *   fake_tool env NAME            prints the value of NAME
 *   fake_tool cwd                 prints its working folder
 *   fake_tool args ...            prints each argument between [ and ]
 *   fake_tool asuser UID          drops to UID (when allowed) and sleeps until killed
 *   fake_tool -i PATH             describes PATH like an ffmpeg-style probe
 */
#define _GNU_SOURCE
#include <dirent.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static void nap_ms(long ms) {
    struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    nanosleep(&t, NULL);
}

static void write_all(int fd, const char* p, size_t n) {
    while (n > 0) {
        ssize_t w = write(fd, p, n);
        if (w <= 0) exit(2);
        p += w;
        n -= (size_t)w;
    }
}

static void say(const char* s) {
    char out[8192];
    size_t n = 0;
    for (; *s && n < sizeof out; ++s) {
        if (*s == '\\' && s[1]) {
            ++s;
            out[n++] = *s == 'r' ? '\r' : *s == 'n' ? '\n' : *s == 't' ? '\t' : *s;
        } else {
            out[n++] = *s;
        }
    }
    write_all(2, out, n);
}

static void sleep_forever(void) {
    for (;;) pause();
}

int main(int argc, char** argv) {
    if (argc < 2) return 64;
    const char* mode = argv[1];
    if (!strcmp(mode, "exit") && argc > 2) return atoi(argv[2]);
    if (!strcmp(mode, "crash")) {
        raise(SIGSEGV);
        return 1;
    }
    if (!strcmp(mode, "say")) {
        for (int i = 2; i < argc; ++i) {
            if (i > 2) nap_ms(30);
            say(argv[i]);
        }
        return 0;
    }
    if (!strcmp(mode, "sleep")) sleep_forever();
    if (!strcmp(mode, "hang") || !strcmp(mode, "orphan")) {
        pid_t child = fork();
        if (child == 0) {
            if (!strcmp(mode, "orphan")) {
                sleep(30);
                _exit(0);
            }
            sleep_forever();
        }
        if (argc > 2) {
            FILE* f = fopen(argv[2], "w");
            if (f) {
                fprintf(f, "%d %d\n", (int)getpid(), (int)child);
                fclose(f);
            }
        }
        if (!strcmp(mode, "orphan")) {
            say("Duration: 00:00:10.00, start: 0.000000, bitrate: 1 kb/s\n");
            return 0;
        }
        sleep_forever();
    }
    if (!strcmp(mode, "flood") && argc > 2) {
        static char block[65536];
        memset(block, 'x', sizeof block);
        long total = atol(argv[2]) * 1024L * 1024L;
        while (total > 0) {
            size_t n = total < (long)sizeof block ? (size_t)total : sizeof block;
            write_all(1, block, n);
            total -= (long)n;
        }
        return 0;
    }
    if (!strcmp(mode, "binary")) {
        char block[256];
        for (int i = 0; i < 256; ++i) block[i] = (char)i;
        for (int k = 0; k < 200; ++k) write_all(1, block, sizeof block);
        return 0;
    }
    if (!strcmp(mode, "fds")) {
        int count = 0;
        DIR* d = opendir("/proc/self/fd");
        struct dirent* e;
        while (d && (e = readdir(d)) != NULL)
            if (e->d_name[0] != '.' && atoi(e->d_name) > 2 && atoi(e->d_name) != dirfd(d)) ++count;
        if (d) closedir(d);
        printf("fds:%d\n", count);
        return 0;
    }
    if (!strcmp(mode, "env") && argc > 2) {
        const char* v = getenv(argv[2]);
        printf("env:%s\n", v ? v : "(unset)");
        return 0;
    }
    if (!strcmp(mode, "cwd")) {
        char buf[4096];
        printf("cwd:%s\n", getcwd(buf, sizeof buf) ? buf : "?");
        return 0;
    }
    if (!strcmp(mode, "args")) {
        for (int i = 2; i < argc; ++i) printf("[%s]", argv[i]);
        printf("\n");
        return 0;
    }
    if (!strcmp(mode, "asuser") && argc > 2) {
        uid_t uid = (uid_t)atoi(argv[2]);
        if (setresgid(uid, uid, uid) != 0 || setresuid(uid, uid, uid) != 0) return 3;
        sleep_forever();
    }
    if (!strcmp(mode, "-i") && argc > 2) {
        fprintf(stderr, "fake version 1.0 Copyright (c) the authors\n  configuration: none\n");
        fflush(stderr);
        nap_ms(40);
        fprintf(stderr, "Input #0, avi, from '%s':\n  Duration: 00:01:23.45, start: 0.000000, bitrate: 1411 kb/s\n"
                        "    Stream #0:0: Audio: pcm_s16le, 44100 Hz, 2 channels\n"
                        "At least one output file must be specified\n", argv[2]);
        return 1;
    }
    return 64;
}
