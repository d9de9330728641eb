/* Runs a command as on a 64-bit kernel that runs no 32-bit code: a seccomp
   filter, inherited by every process the command starts, ends any process
   at its first 32-bit system call (an i386 program's first act; where the
   kernel runs no 32-bit code, it would not have started). Programs that
   qemu-i386 runs make 64-bit calls and are left alone.
   usage: no-ia32 COMMAND [ARG...] */
#include <errno.h>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>
#include <sys/prctl.h>
#include <unistd.h>

int main(int argc, char **argv)
{
  struct sock_filter code[] = {
    BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(struct seccomp_data, arch)),
    BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, AUDIT_ARCH_I386, 0, 1),
    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_KILL_PROCESS),
    BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  struct sock_fprog filter = { sizeof code / sizeof code[0], code };
  if (argc < 2) {
    fprintf(stderr, "usage: no-ia32 COMMAND [ARG...]\n");
    return 2;
  }
  if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
      prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) != 0) {
    fprintf(stderr, "no-ia32: no seccomp filter: %s\n", strerror(errno));
    return 2;
  }
  execvp(argv[1], argv + 1);
  fprintf(stderr, "no-ia32: %s: %s\n", argv[1], strerror(errno));
  return 127;
}
