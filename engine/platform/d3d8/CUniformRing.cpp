#include "platform/d3d8/CUniformRing.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <cstring>

void CUniformRing::Create(std::size_t blockSize, unsigned binding) {
    GLint alignment = 256;
    glGetIntegerv(GL_UNIFORM_BUFFER_OFFSET_ALIGNMENT, &alignment);
    alignment = std::max(alignment, 16);
    m_blockSize = blockSize;
    m_slotSize = (blockSize + alignment - 1) / alignment * alignment;
    m_binding = binding;
    glGenBuffers(1, &m_buffer);
    glBindBuffer(GL_UNIFORM_BUFFER, m_buffer);
    glBufferData(GL_UNIFORM_BUFFER, kRingSize, nullptr, GL_STREAM_DRAW);
    m_offset = 0;
}

void CUniformRing::Destroy() {
    if (m_buffer)
        glDeleteBuffers(1, &m_buffer);
    m_buffer = 0;
}

void CUniformRing::Publish(const void* block) {
    glBindBuffer(GL_UNIFORM_BUFFER, m_buffer);
    if (m_offset + m_slotSize > kRingSize) {
        glBufferData(GL_UNIFORM_BUFFER, kRingSize, nullptr, GL_STREAM_DRAW);
        m_offset = 0;
    }
    void* slot =
        glMapBufferRange(GL_UNIFORM_BUFFER, static_cast<GLintptr>(m_offset), static_cast<GLsizeiptr>(m_blockSize),
                         GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT);
    if (slot) {
        std::memcpy(slot, block, m_blockSize);
        glUnmapBuffer(GL_UNIFORM_BUFFER);
    }
    glBindBufferRange(GL_UNIFORM_BUFFER, m_binding, m_buffer, static_cast<GLintptr>(m_offset),
                      static_cast<GLsizeiptr>(m_blockSize));
    m_offset += m_slotSize;
}
