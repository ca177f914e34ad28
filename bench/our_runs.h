#pragma once

namespace vimbrel::bench {

// The measurements of the tool's own code. Each runs in a child process of
// its own, so that its peak memory is its own; it prints its figures on
// standard output. Returns the exit code, or -1 when argv names no such run.
//
//   small FOLDER OUT WORKERS fast|plain   the small image maker over FOLDER
//   decode FOLDER DENOMINATOR             libjpeg-turbo decoding every JPEG, one thread
//   show FOLDER APPFOLDER CPUS            a Show run (img_s, 差分作成) on CPUS cores
//   pages APPFOLDER NAMES                 sort and the seven pages for NAMES pictures
//   idle                                  nothing: the program's own memory
int runMeasurement(int argc, char** argv);

} // namespace vimbrel::bench
