#pragma once

#include <string>

// The spexor application: reads its command line and converts the RAW files
// it names, one after another, on the main thread.
class SpexorApp {
public:
    // Called once at start. Takes the process command line, initialises the
    // component object model and runs the batch. True after a complete run
    // (or the help text alone), false after a run that did not do all it was
    // asked (see RunBatch); a fatal error raises platform::FatalError.
    bool InitInstance();

    // The batch driver: settings, then one extraction per RAW file with a
    // fresh job and reader, then the summary and the elapsed time. argv[0]
    // is the program. Inputs that do not exist, RAW files none of whose
    // scans could be read and output files that could not be created or
    // written do not stop the run: a closing line names each cause and the
    // result is false. The usage block and every fatal error raise
    // platform::FatalError.
    bool RunBatch(int argc, const std::string* argv);
};
