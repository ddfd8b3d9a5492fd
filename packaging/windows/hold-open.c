/* Holds a file open without sharing it, as Excel holds a workbook, until it is ended:
   the screenshots show what the program then says. */
#include <windows.h>

int main(int argc, char *argv[])
{
    if (argc != 2)
        return 2;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    Sleep(INFINITE);
    return 0;
}
