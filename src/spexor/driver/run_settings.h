#pragma once

#include <string>
#include <vector>

// The families of output files a run writes. Independent flags.
struct OutputKinds {
    bool ms1 = false;
    bool ms2 = false;
    bool ms3 = false;
    bool mgf = true;  // a run that names no output kind writes MGF only
    bool ksd = false;
    bool mzml = false;
};

enum class ActivationMode { merged, split };

// The choices a conversion of one RAW file depends on: every field of the
// run's settings apart from the list of RAW files. Jobs and writers hold a
// copy of it.
struct ConversionSettings {
    OutputKinds outputKinds;
    std::string outputDirectory;  // empty: output beside each RAW file; else ends in one separator
    ActivationMode activationMode = ActivationMode::split;
    bool centroided = true;
    bool isotopeMode = true;
    int mzDecimals = 5;
    int intensityDecimals = 1;
    int chargeMin = 2;
    int chargeMax = 3;
    bool mzmlCompression = true;  // mzML arrays zlib-compressed; false: written as they are
};

// Every choice of one spexor run.
struct RunSettings : ConversionSettings {
    std::vector<std::string> rawFiles;
    int threads = 0;  // threads to convert on; 0: one per core the process may use
    // Inputs that gave no RAW file, for the run's summary.
    int missingInputs = 0;          // names that do not exist
    int inputsWithoutRawFiles = 0;  // folders (or other entries) holding no RAW file
};
