// Prints how far the first and last pictures of a written segment are from the source's
// pictures at a given start and length, as the tools measure it after an extraction:
//   segment_pictures WRITTEN SOURCE START LENGTH
// "first=<grey levels> last=<grey levels> ms=<time taken>", or "unchecked".
// bench/helpers/segment_cuts.sh runs it on right cuts and on windows moved away.

#include <cstdio>
#include <cstdlib>

#include "picture_compare.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s WRITTEN SOURCE START LENGTH\n", argv[0]);
        return 2;
    }
    const helpers::SegmentPictures c =
        helpers::CompareSegmentPictures(argv[1], argv[2], std::atof(argv[3]), std::atof(argv[4]));
    if (!c.checked) std::printf("unchecked ms=%.0f\n", c.milliseconds);
    else std::printf("first=%.2f last=%.2f ms=%.0f\n", c.first, c.last, c.milliseconds);
    return 0;
}
