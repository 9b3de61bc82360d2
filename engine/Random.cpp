#include "engine/Random.h"

namespace lumivane {

RandomSource& sharedRandom() {
    static RandomSource source;
    return source;
}

} // namespace lumivane
