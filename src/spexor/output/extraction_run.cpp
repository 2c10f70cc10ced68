// Placeholder until the extraction run lands: opens and closes the file.
#include "spexor/output/extraction_run.h"

#include "spexor/output/raw_file_job.h"
#include "spexor/reader/raw_extractor.h"

void RunExtraction(RawFileJob& job) {
    job.reader->Open(job.rawPath);
    job.reader->GetFirstScan();
    job.reader->GetLastScan();
    job.reader->Close();
}
