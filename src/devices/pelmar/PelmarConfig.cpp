#include "devices/pelmar/PelmarConfig.h"

#include <algorithm>

namespace vantor {

void PelmarConfig::SetObjectCount(int count)
{
    count = std::clamp(count, 0, kMaxObjects);
    objects_.resize(static_cast<std::size_t>(count));
    Ids.SetObjectCount(count);
}

} // namespace vantor
