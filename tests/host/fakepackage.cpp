// A package library from a future SDK: the host must refuse it.
extern "C" __attribute__((visibility("default"))) int sdk()
{
    return 3;
}

extern "C" __attribute__((visibility("default"))) void* instance()
{
    return nullptr;
}
