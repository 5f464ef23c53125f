#!/usr/bin/env bash
# Exits 0 when this kernel runs 32-bit x86 programs. Some refuse every one
# (booted without IA-32 emulation, as virtual machines that run 64-bit user
# code only are; `execve` then fails with "Exec format error"), and there
# 32-bit Wine cannot run the 32-bit Windows build. The probe is a static
# five-instruction program that exits with 0, made with binutils.
dir=$(mktemp -d "${TMPDIR:-/tmp}/sonvio-ia32.XXXXXX") || exit 1
trap 'rm -rf "$dir"' EXIT
printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' |
  as --32 -o "$dir/probe.o" - 2> /dev/null &&
  ld -m elf_i386 -o "$dir/probe" "$dir/probe.o" 2> /dev/null &&
  "$dir/probe" 2> /dev/null
