#include "settings_case.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::runSettingsCase(Fuzz::bytesOf(data, size));
    return 0;
}
