#include "probes.h"

#include "localhost/processes.h"

#include <unistd.h>

namespace localhost {

Probes systemProbes()
{
    return {processes::startTimeOf, processes::ownerOf,  processes::executableOf, processes::argumentsOf,
            processes::listensOn,   processes::portIsFree, uint(::getuid())};
}

} // namespace localhost
