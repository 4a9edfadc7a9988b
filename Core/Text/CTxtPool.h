#pragma once
// Storage for the texts of one bulk load: the text objects and their
// characters are carved out of a few large blocks, one allocation per block
// of lines instead of two per line. The texts stay ordinary CTxt objects;
// one that grows moves into a buffer of its own. The pool frees its blocks
// only when told, and the texts in it must have been destroyed by then.

#include <cstddef>
#include <vector>

class CTxt;

class CTxtPool {
public:
    CTxtPool() = default;
    ~CTxtPool() { Clear(); }
    CTxtPool(const CTxtPool&) = delete;
    CTxtPool& operator=(const CTxtPool&) = delete;

    /// A text holding the n characters at p (which need no terminator), in
    /// the pool; null when memory is refused.
    CTxt* Make(const char* p, int n);
    /// Whether the text at p is one of the pool's.
    bool Holds(const void* p) const;
    /// Destroys a text of the pool; its room is reused only after Clear.
    static void Destroy(CTxt* text);
    /// Frees every block.
    void Clear();
    /// Number of blocks held.
    size_t GetBlockCount() const { return m_Blocks.size(); }

private:
    struct Block {
        char* Begin;
        char* End;
    };
    bool NewBlock(size_t need);

    std::vector<Block> m_Blocks;  // in address order, for Holds
    size_t m_NextSize = 0;
    // Objects are placed upwards from m_Low, characters downwards from m_High.
    char* m_Low = nullptr;
    char* m_High = nullptr;
};
