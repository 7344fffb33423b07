/* The records' sizes as a C compiler lays them out from the header, for the
 * Python tests to hold their ctypes structures against. */
#include <stddef.h>
#include <string.h>

#include "varnel.h"

__attribute__((visibility("default"))) size_t VarnelTestRecordSize(const char* name)
{
    static const struct {
        const char* name;
        size_t size;
    } sizes[] = {
        {"Vector", sizeof(Vector)},
        {"Matrix", sizeof(Matrix)},
        {"SuitInfo", sizeof(SuitInfo)},
        {"ActorData", sizeof(ActorData)},
        {"SkeletonFrame", sizeof(SkeletonFrame)},
        {"SkeletonNode", sizeof(SkeletonNode)},
        {"Skeleton", sizeof(Skeleton)},
        {"FloorGeometry", sizeof(FloorGeometry)},
    };
    for (size_t i = 0; i < sizeof sizes / sizeof sizes[0]; i++)
        if (strcmp(sizes[i].name, name) == 0)
            return sizes[i].size;
    return 0;
}
