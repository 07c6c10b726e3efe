// Says whether this machine runs 32-bit x86 user code, which the runner of the
// 32-bit Windows programs needs: it starts a 32-bit Linux program of its own
// making (96 bytes, whose code is exit(32) through int 0x80) and waits for it.
// Some kernels run 64-bit programs only; starting a 32-bit one fails there with
// ENOEXEC. Exit status 0: the program ran; 1: the kernel does not start it (the
// reason is printed); 2: the probe itself failed (printed on standard error).
#include <elf.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

constexpr uint8_t exitValue = 32;
constexpr Elf32_Addr loadAddress = 0x08048000;

// The whole file, loaded as one segment at loadAddress.
struct Program {
    Elf32_Ehdr header;
    Elf32_Phdr segment;
    uint8_t code[12];
};
static_assert(sizeof(Program) == 96);

Program MakeProgram()
{
    Program program{};
    Elf32_Ehdr &header = program.header;
    std::memcpy(header.e_ident, ELFMAG, SELFMAG);
    header.e_ident[EI_CLASS] = ELFCLASS32;
    header.e_ident[EI_DATA] = ELFDATA2LSB;
    header.e_ident[EI_VERSION] = EV_CURRENT;
    header.e_type = ET_EXEC;
    header.e_machine = EM_386;
    header.e_version = EV_CURRENT;
    header.e_entry = loadAddress + offsetof(Program, code);
    header.e_phoff = offsetof(Program, segment);
    header.e_ehsize = sizeof(Elf32_Ehdr);
    header.e_phentsize = sizeof(Elf32_Phdr);
    header.e_phnum = 1;
    program.segment = {PT_LOAD, 0, loadAddress, loadAddress, sizeof(Program), sizeof(Program), PF_R | PF_X, 0x1000};
    // mov eax, 1 (the 32-bit exit call); mov ebx, exitValue; int 0x80
    const uint8_t code[] = {0xb8, 1, 0, 0, 0, 0xbb, exitValue, 0, 0, 0, 0xcd, 0x80};
    static_assert(sizeof(code) == sizeof(Program::code));
    std::memcpy(program.code, code, sizeof(code));
    return program;
}

int Failed(const char *what)
{
    std::fprintf(stderr, "ia32_probe: %s: %s\n", what, std::strerror(errno));
    return 2;
}

}  // namespace

int main()
{
    const Program program = MakeProgram();
    // In memory, so that a folder mounted without exec rights cannot stand in the way.
    const int file = memfd_create("zolt-ia32-probe", MFD_CLOEXEC);
    if (file < 0) return Failed("memfd_create");
    if (write(file, &program, sizeof(program)) != static_cast<ssize_t>(sizeof(program))) return Failed("write");
    // The child sends the error of a failed exec back through this pipe, which an exec that works closes.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return Failed("pipe2");
    const pid_t child = fork();
    if (child < 0) return Failed("fork");
    if (child == 0) {
        char name[] = "zolt-ia32-probe";
        char *const arguments[] = {name, nullptr};
        char *const environment[] = {nullptr};
        fexecve(file, arguments, environment);
        const int error = errno;
        (void)!write(report[1], &error, sizeof(error));
        _exit(127);
    }
    close(report[1]);
    int error = 0;
    const ssize_t got = read(report[0], &error, sizeof(error));
    int status = 0;
    if (waitpid(child, &status, 0) != child) return Failed("waitpid");
    if (got == static_cast<ssize_t>(sizeof(error))) {
        errno = error;
        if (error != ENOEXEC) return Failed("starting the 32-bit program");
        std::printf("a 32-bit x86 program does not start: %s\n", std::strerror(error));
        return 1;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == exitValue) return 0;
    std::fprintf(stderr, "ia32_probe: the 32-bit program did not end with exit(%d) (wait status %#x)\n", exitValue,
                 static_cast<unsigned>(status));
    return 2;
}
