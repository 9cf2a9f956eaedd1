#include <dorvane/Core.h>
