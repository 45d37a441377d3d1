// A stand-in for libvantor_model.so that exports only "open": the binder must refuse it.
#include <cstdint>

extern "C" __attribute__((visibility("default"))) std::int32_t open(const char *, const char *)
{
    return 0;
}
