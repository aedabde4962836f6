#pragma once

#include <QtCore/qglobal.h>

#if defined(KXSUITE_LIBRARY)
#define KXSUITE_EXPORT Q_DECL_EXPORT
#else
#define KXSUITE_EXPORT Q_DECL_IMPORT
#endif

// The living space of a parameter value: the axis number for per-axis
// parameters, 0 for device-wide ones, LivingSpaceNone where there is none.
typedef int eLivingSpace;
constexpr eLivingSpace LivingSpaceDevice = 0;
constexpr eLivingSpace LivingSpaceNone = -100;
