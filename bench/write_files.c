/* The floor for writing generated files: the same names and bytes written
 * with open (truncating), write and close, nothing else.
 *
 *   write_files pack DIRECTORY PACK   gathers the files of DIRECTORY into PACK
 *   write_files write PACK DIRECTORY  writes them from PACK into DIRECTORY
 *
 * A pack is, for every file, its name, a NUL, its size as a decimal number,
 * a NUL and its bytes. */
#define _GNU_SOURCE
#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static char* slurp(const char* path, size_t* size)
{
    int fd = open(path, O_RDONLY);
    struct stat st;
    if (fd < 0 || fstat(fd, &st) != 0) {
        perror(path);
        exit(1);
    }
    char* bytes = malloc((size_t)st.st_size + 1);
    size_t done = 0;
    while (done < (size_t)st.st_size) {
        ssize_t n = read(fd, bytes + done, (size_t)st.st_size - done);
        if (n <= 0) {
            perror(path);
            exit(1);
        }
        done += (size_t)n;
    }
    close(fd);
    *size = done;
    return bytes;
}

static void put(int fd, const char* bytes, size_t size, const char* path)
{
    while (size > 0) {
        ssize_t n = write(fd, bytes, size);
        if (n <= 0) {
            perror(path);
            exit(1);
        }
        bytes += n;
        size -= (size_t)n;
    }
}

int main(int argc, char** argv)
{
    if (argc == 4 && strcmp(argv[1], "pack") == 0) {
        DIR* dir = opendir(argv[2]);
        int out = open(argv[3], O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (!dir || out < 0) {
            perror("pack");
            return 1;
        }
        struct dirent* entry;
        while ((entry = readdir(dir)) != NULL) {
            if (entry->d_name[0] == '.')
                continue;
            char path[4096], header[64];
            snprintf(path, sizeof path, "%s/%s", argv[2], entry->d_name);
            size_t size;
            char* bytes = slurp(path, &size);
            put(out, entry->d_name, strlen(entry->d_name) + 1, argv[3]);
            put(out, header, (size_t)snprintf(header, sizeof header, "%zu", size) + 1, argv[3]);
            put(out, bytes, size, argv[3]);
            free(bytes);
        }
        closedir(dir);
        return close(out) == 0 ? 0 : 1;
    }
    if (argc == 4 && strcmp(argv[1], "write") == 0) {
        size_t size;
        char* pack = slurp(argv[2], &size);
        if (chdir(argv[3]) != 0) {
            perror(argv[3]);
            return 1;
        }
        for (size_t pos = 0; pos < size;) {
            const char* name = pack + pos;
            pos += strlen(name) + 1;
            size_t length = strtoul(pack + pos, NULL, 10);
            pos += strlen(pack + pos) + 1;
            int fd = open(name, O_WRONLY | O_CREAT | O_TRUNC, 0666);
            if (fd < 0) {
                perror(name);
                return 1;
            }
            put(fd, pack + pos, length, name);
            if (close(fd) != 0) {
                perror(name);
                return 1;
            }
            pos += length;
        }
        return 0;
    }
    fprintf(stderr, "usage: %s pack DIRECTORY PACK | write PACK DIRECTORY\n", argv[0]);
    return 2;
}
