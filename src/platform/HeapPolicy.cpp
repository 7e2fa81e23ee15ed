#include "platform/HeapPolicy.h"

#include <malloc.h>

void KeepFreedMemoryForReuse() {
    // Blocks up to 64 MiB come from the heap (not a mapping of their own),
    // and up to 256 MiB of free space at its top stays there.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
    mallopt(M_TOP_PAD, 16 << 20);
}
