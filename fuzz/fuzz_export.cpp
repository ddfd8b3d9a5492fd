#include "export_case.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::runExportCase(Fuzz::bytesOf(data, size));
    return 0;
}
