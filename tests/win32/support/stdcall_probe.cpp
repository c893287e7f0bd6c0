#include "support/stdcall_probe.h"

// cdecl: [ebp+8] function, [ebp+12] args, [ebp+16] count, [ebp+20] bytesPopped.
asm(R"(
  .text
  .globl _MeasureCall
_MeasureCall:
  pushl %ebp
  movl %esp, %ebp
  pushl %esi
  pushl %edi
  pushl %ebx
  movl 16(%ebp), %ecx
  movl 12(%ebp), %esi
1:
  testl %ecx, %ecx
  jz 2f
  decl %ecx
  pushl (%esi,%ecx,4)
  jmp 1b
2:
  movl %esp, %edi
  call *8(%ebp)
  movl %esp, %ecx
  subl %edi, %ecx
  movl 20(%ebp), %edx
  movl %ecx, (%edx)
  leal -12(%ebp), %esp
  popl %ebx
  popl %edi
  popl %esi
  popl %ebp
  ret
)");
