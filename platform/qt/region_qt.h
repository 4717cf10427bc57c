#pragma once
// Inside the platform only: regions to and from QRegion.

#include "platform/region.h"

#include <QRegion>

namespace platform {

QRegion qt_region(const Region& region);
Region region_from_qt(const QRegion& region);

}  // namespace platform
