#pragma once

// Our RAW reader component: one class that answers the component's
// operations in both its forms (the control's dispatch ids and the reader
// interface), from whichever backend the opened file calls for.

namespace platform {
class IUnknown;
}

namespace rawfile {

// Makes one component object; the caller holds its one reference. Usable as
// the factory of a fake that passes calls on to the real component.
platform::IUnknown* CreateComponent();

// Registers the component under its class id and both ProgIDs, answering
// interface versions 1 to 5 and usable as a control. Both programs call it
// once at start; tests call it to restore the default after using fakes.
void RegisterComponent();

}  // namespace rawfile
