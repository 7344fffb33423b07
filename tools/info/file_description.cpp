#include "tools/info/file_description.h"

#include "tools/cli/replayable_file.h"
#include "tools/info/actor_description.h"
#include "tools/info/bvh_description.h"
#include "tools/info/raw_take_description.h"

int DescribeFile(const std::string& path, std::ostream& out, std::ostream& errors, OutputForm form,
                 std::optional<LengthUnit> bvhUnit)
{
    // Read once, so that telling the kind leaves a pipe's bytes to the reader.
    ReplayableFile input;
    if (!input.Open(path, errors))
        return 1;
    const NamedFile& file = input.File();
    if (IsRawTakeFile(file))
        return DescribeRawTakeFile(file, out, errors, form);
    return IsActorFile(file) ? DescribeActorFile(file, out, errors, form)
                             : DescribeBvhFile(file, out, errors, form, bvhUnit);
}
