// `varnel info` on a raw take.
#pragma once

#include "tools/cli/replayable_file.h"
#include "tools/info/output_form.h"

#include <ostream>

// A file that starts with the raw take's magic bytes.
bool IsRawTakeFile(const NamedFile& file);

// Prints the suit, its rate, how many datagrams the take holds over how
// long, what the live solve did with them, the calibration instant, the
// floor and any cut tail. Returns the exit status: 0, or 1 after a message
// on errors.
int DescribeRawTakeFile(const NamedFile& file, std::ostream& out, std::ostream& errors,
                        OutputForm form = OutputForm::Text);
