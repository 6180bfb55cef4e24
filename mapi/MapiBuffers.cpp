// MAPI's allocation: a buffer from MAPIAllocateBuffer owns every block later chained to it with
// MAPIAllocateMore, so a caller frees a whole property array or row with one MAPIFreeBuffer.
#include "mapi/Mapi.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace {
constexpr uint32_t kBufferMagic = 0x4D415042; // marks a block that this allocator handed out

struct alignas(std::max_align_t) BlockHeader {
    BlockHeader* nextMore; // blocks chained by MAPIAllocateMore, freed with the root
    uint32_t magic;
    bool isRoot;
};

BlockHeader* headerOf(LPVOID buffer)
{
    return reinterpret_cast<BlockHeader*>(static_cast<char*>(buffer) - sizeof(BlockHeader));
}

BlockHeader* newBlock(ULONG cbSize, bool isRoot)
{
    void* raw = std::calloc(1, sizeof(BlockHeader) + cbSize);
    if (!raw) return nullptr;
    auto* header = new (raw) BlockHeader{nullptr, kBufferMagic, isRoot};
    return header;
}
}

SCODE MAPIAllocateBuffer(ULONG cbSize, LPVOID* lppBuffer)
{
    if (!lppBuffer) return MAPI_E_INVALID_PARAMETER;
    *lppBuffer = nullptr;
    BlockHeader* header = newBlock(cbSize, true);
    if (!header) return MAPI_E_NOT_ENOUGH_MEMORY;
    *lppBuffer = header + 1;
    return S_OK;
}

SCODE MAPIAllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer)
{
    if (!lppBuffer) return MAPI_E_INVALID_PARAMETER;
    *lppBuffer = nullptr;
    if (!lpObject) return MAPIAllocateBuffer(cbSize, lppBuffer);
    BlockHeader* root = headerOf(lpObject);
    if (root->magic != kBufferMagic || !root->isRoot) return MAPI_E_INVALID_PARAMETER;
    BlockHeader* header = newBlock(cbSize, false);
    if (!header) return MAPI_E_NOT_ENOUGH_MEMORY;
    header->nextMore = root->nextMore;
    root->nextMore = header;
    *lppBuffer = header + 1;
    return S_OK;
}

ULONG MAPIFreeBuffer(LPVOID lpBuffer)
{
    if (!lpBuffer) return S_OK;
    BlockHeader* root = headerOf(lpBuffer);
    // Freeing a chained block alone, or something never allocated here, would corrupt the heap: refuse it.
    if (root->magic != kBufferMagic || !root->isRoot) return static_cast<ULONG>(MAPI_E_INVALID_PARAMETER);
    BlockHeader* block = root->nextMore;
    while (block) {
        BlockHeader* next = block->nextMore;
        block->magic = 0;
        std::free(block);
        block = next;
    }
    root->magic = 0;
    std::free(root);
    return S_OK;
}
