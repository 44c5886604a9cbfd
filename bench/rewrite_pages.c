/* The floor for writing a menu into a site's pages: reads every page named
 * in a list (one path a line) and writes the same bytes back (open with
 * truncate, write, close).
 *
 *   rewrite_pages LIST
 */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

static int rewrite(const char *path)
{
    int fd = open(path, O_RDONLY);
    struct stat status;
    if (fd < 0 || fstat(fd, &status) != 0)
        return -1;
    char *bytes = malloc((size_t)status.st_size + 1);
    ssize_t got = read(fd, bytes, (size_t)status.st_size);
    close(fd);
    fd = open(path, O_WRONLY | O_TRUNC);
    int ok = got == status.st_size && fd >= 0 && write(fd, bytes, (size_t)got) == got;
    if (fd >= 0 && close(fd) != 0)
        ok = 0;
    free(bytes);
    return ok ? 0 : -1;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: %s LIST\n", argv[0]);
        return 2;
    }
    FILE *list = fopen(argv[1], "r");
    if (!list)
        return 1;
    char line[4096];
    while (fgets(line, sizeof line, list)) {
        line[strcspn(line, "\n")] = 0;
        if (*line && rewrite(line) != 0) {
            perror(line);
            return 1;
        }
    }
    fclose(list);
    return 0;
}
