// Placeholder until the component lands.
#include "rawfile/component.h"

namespace rawfile {
void RegisterComponent() {}
}  // namespace rawfile
