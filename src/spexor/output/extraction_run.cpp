#include "spexor/output/extraction_run.h"

#include "spexor/console/console_lines.h"
#include "spexor/output/output_file_set.h"
#include "spexor/output/parallel_scans.h"
#include "spexor/output/progress_line.h"
#include "spexor/output/raw_file_job.h"
#include "spexor/reader/raw_extractor.h"

void RunExtraction(RawFileJob& job) {
    RawExtractor& reader = *job.reader;
    reader.Open(job.rawPath);
    OpenOutputs(job);
    const int32_t first = reader.GetFirstScan();
    const int32_t last = reader.GetLastScan();
    if (DescribesRun(job)) DescribeRun(reader, first, last, job.run);

    ConvertAllScans(job, first, last);
    FinishExtraction(job);
}

void FinishExtraction(RawFileJob& job) {
    console::Report(FinalProgressText());
    CloseOutputs(job);
    // The marker tells that the merged outputs are there: not when one failed.
    if (job.failedOutputs == 0) CreateMarkerFile(job);
    if (job.failedOutputs == 0) console::Report("Output Files Completed!");
    job.reader->Close();
}
