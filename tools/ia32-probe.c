/* A 32-bit x86 program without any library (tools/ia32.sh builds it with
   gcc -m32 -nostdlib -static). It exits 32 when it runs as the kernel's own
   32-bit code and 33 when it runs under an emulator: a 64-bit kernel names
   its machine x86_64 to 32-bit programs too (once their personality leaves
   the name alone), qemu-i386 names the machine it emulates, i686. */
struct utsname { char field[6][65]; };

static int call(int number, int argument)
{
  int result;
  __asm__ volatile("int $0x80" : "=a"(result) : "a"(number), "b"(argument) : "memory");
  return result;
}

void _start(void)
{
  enum { exit_ = 1, uname = 122, personality = 136 };
  static struct utsname name;
  const char *machine = name.field[4], *want = "x86_64";
  call(personality, 0);
  int native = call(uname, (int)&name) == 0;
  for (int i = 0; native && i < 7; ++i)
    native = machine[i] == want[i];
  call(exit_, native ? 32 : 33);
}
