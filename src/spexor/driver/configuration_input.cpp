#include "spexor/driver/configuration_input.h"

#include <utility>

#include "spexor/driver/output_directory.h"
#include "spexor/driver/raw_discovery.h"

RunSettings CompleteSettings(ConfigurationInput input) {
    PrepareOutputDirectory(input.settings);
    DiscoverRawFiles(input.settings, input.inputs);
    return std::move(input.settings);
}
