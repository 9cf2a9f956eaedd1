#include <dorvane/Channel.h>
