// A shared library that exports neither of the maker's entry points.
extern "C" int fake_empty_library_marker()
{
    return 1;
}
