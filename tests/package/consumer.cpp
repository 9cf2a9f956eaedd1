#include <dorvane/App.h>
#include <dorvane/Channel.h>
#include <dorvane/Core.h>
#include <dorvane/WdxWidgets.h>

int main()
{
    // Taking the address makes the linker resolve the exported entry point.
    int (*entry)(int &, char **) = &RunApplication;
    return entry ? 0 : 1;
}
