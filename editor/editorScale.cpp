#include "editorScale.h"

#include "gui/scale.h"
#include "platform/displayScale.h"
#include "core/preferenceStore.h"

double decideEditorScale(double hostRequest, void* parent) {
    double userOverride = gui::normalisedScale(platform::environmentScale());
    if (userOverride == 0.0)
        userOverride = gui::normalisedScale(readPreference(kEditorScalePreference, 0.0f));
    if (userOverride > 0.0 || gui::normalisedScale(hostRequest) > 0.0)
        return gui::chooseScale(userOverride, hostRequest, 0.0);
    // The desktop is asked only when nothing above it has spoken: on Linux that
    // costs a connection to the X server.
    return gui::chooseScale(0.0, 0.0, platform::desktopScale(parent));
}
