// The only file that talks to libmspack. Its SZDD decompressor does its I/O through an
// mspack_system; ours serves the input from memory and collects the output in a vector that
// may not grow past the header's length, so a damaged file cannot make us allocate more than
// it promised (and kSzddMaxExpandedSize bounds the promise).

#include <mspack.h>

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <new>

#include "installer/szdd.h"

namespace anitrope {
namespace {

struct MemoryFile {
    bool writing = false;
    std::size_t position = 0;
};

struct MemorySystem {
    mspack_system base;  // first, so that libmspack's pointer is ours
    std::span<const uint8_t> input;
    std::vector<uint8_t>* output = nullptr;
    std::size_t limit = 0;
    bool overflow = false;
    bool outOfMemory = false;
};

// libmspack hands the file back without its system; each file remembers it.
struct OpenFile {
    MemorySystem* system;
    MemoryFile file;
};

OpenFile* AsFile(mspack_file* file) { return reinterpret_cast<OpenFile*>(file); }

mspack_file* Open(mspack_system* self, const char*, int mode) {
    auto* system = reinterpret_cast<MemorySystem*>(self);
    if (mode != MSPACK_SYS_OPEN_READ && mode != MSPACK_SYS_OPEN_WRITE) return nullptr;
    auto* open = new (std::nothrow) OpenFile{system, MemoryFile{mode == MSPACK_SYS_OPEN_WRITE, 0}};
    return reinterpret_cast<mspack_file*>(open);
}

void Close(mspack_file* file) { delete AsFile(file); }

int Read(mspack_file* handle, void* buffer, int bytes) {
    OpenFile* open = AsFile(handle);
    if (bytes < 0 || open->file.writing) return -1;
    const std::span<const uint8_t> input = open->system->input;
    const std::size_t left = input.size() - std::min(open->file.position, input.size());
    const std::size_t count = std::min(left, static_cast<std::size_t>(bytes));
    if (count > 0) std::memcpy(buffer, input.data() + open->file.position, count);
    open->file.position += count;
    return static_cast<int>(count);
}

int Write(mspack_file* handle, void* buffer, int bytes) {
    OpenFile* open = AsFile(handle);
    MemorySystem* system = open->system;
    if (bytes < 0 || !open->file.writing) return -1;
    const auto count = static_cast<std::size_t>(bytes);
    if (system->output->size() + count > system->limit) {
        system->overflow = true;
        return -1;
    }
    try {
        const auto* bytesIn = static_cast<const uint8_t*>(buffer);
        system->output->insert(system->output->end(), bytesIn, bytesIn + count);
    } catch (const std::bad_alloc&) {
        system->outOfMemory = true;
        return -1;
    }
    return bytes;
}

int Seek(mspack_file* handle, off_t offset, int mode) {
    OpenFile* open = AsFile(handle);
    const auto size = static_cast<off_t>(open->file.writing ? open->system->output->size()
                                                            : open->system->input.size());
    off_t base = 0;
    if (mode == MSPACK_SYS_SEEK_CUR)
        base = static_cast<off_t>(open->file.position);
    else if (mode == MSPACK_SYS_SEEK_END)
        base = size;
    else if (mode != MSPACK_SYS_SEEK_START)
        return -1;
    const off_t target = base + offset;
    if (target < 0 || target > size) return -1;
    open->file.position = static_cast<std::size_t>(target);
    return 0;
}

off_t Tell(mspack_file* handle) { return static_cast<off_t>(AsFile(handle)->file.position); }

void Message(mspack_file*, const char*, ...) {}

void* Alloc(mspack_system*, size_t bytes) { return std::malloc(bytes); }
void Free(void* pointer) { std::free(pointer); }
void Copy(void* from, void* to, size_t bytes) { std::memmove(to, from, bytes); }

}  // namespace

SzddContents ExpandSzdd(std::span<const uint8_t> file) {
    SzddContents result;
    const std::optional<SzddHeader> header = ReadSzddHeader(file);
    if (!header) return result;
    result.header = *header;
    if (header->length > kSzddMaxExpandedSize) {
        result.status = SzddStatus::TooLarge;
        return result;
    }

    MemorySystem system{};
    system.base =
        mspack_system{Open, Close, Read, Write, Seek, Tell, Message, Alloc, Free, Copy, nullptr};
    system.input = file;
    system.output = &result.data;
    system.limit = header->length;
    // LZSS turns 17 bytes into at most 144, so this is never more than the file can give.
    try {
        result.data.reserve(std::min<std::size_t>(header->length, file.size() * 9));
    } catch (const std::bad_alloc&) {
        result.status = SzddStatus::NoMemory;
        return result;
    }
    msszdd_decompressor* expander = mspack_create_szdd_decompressor(&system.base);
    if (!expander) {
        result.status = SzddStatus::NoMemory;
        return result;
    }
    msszddd_header* opened = expander->open(expander, "in");
    if (!opened) {
        mspack_destroy_szdd_decompressor(expander);
        return result;  // NotSzdd
    }
    const int error = expander->extract(expander, opened, "out");
    expander->close(expander, opened);
    mspack_destroy_szdd_decompressor(expander);

    if (system.outOfMemory)
        result.status = SzddStatus::NoMemory;
    else if (error != MSPACK_ERR_OK || system.overflow || result.data.size() != header->length)
        result.status = SzddStatus::Damaged;
    else
        result.status = SzddStatus::Ok;
    if (result.status != SzddStatus::Ok) result.data.clear();
    return result;
}

}  // namespace anitrope
