set(CMAKE_SYSTEM_PROCESSOR riscv64)
set(ccomplex_triple riscv64-linux-gnu)
set(ccomplex_qemu qemu-riscv64)
include(${CMAKE_CURRENT_LIST_DIR}/debian-cross.cmake)
