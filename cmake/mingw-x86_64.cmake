# The 64-bit twin of mingw-i686.cmake. The product is 32-bit; this build exists for machines that
# cannot run 32-bit code, where Wine's 64-bit loader runs the same sources' tests instead.
set(mingw_triple x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
set(CMAKE_CROSSCOMPILING_EMULATOR
  ${docrecover_as_account} ${CMAKE_CURRENT_LIST_DIR}/../scripts/lib/wine64/wine)
