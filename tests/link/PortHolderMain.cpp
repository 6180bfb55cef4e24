// port-holder DEVICE: opens a terminal device and claims it for itself alone (TIOCEXCL), as terminal programs
// and modem daemons do, says "holding" and keeps it until its standard input closes. The tests use it as the
// other program that stands in the link's way.
#include <cstdio>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: port-holder DEVICE\n");
        return 2;
    }
    const int fd = ::open(argv[1], O_RDWR | O_NOCTTY);
    if (fd < 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        std::perror(argv[1]);
        return 1;
    }
    std::printf("holding\n");
    std::fflush(stdout);
    char byte = 0;
    while (::read(STDIN_FILENO, &byte, 1) > 0) {
    }
    ::close(fd);
    return 0;
}
