#pragma once

#include <QtGlobal>

#include <algorithm>
#include <cstring>
#include <memory>
#include <type_traits>

// A sequence with a gap at the place last edited, so that a run of edits at one place (typing,
// appending at the end) costs time independent of the length of the sequence. Elements are plain
// values (bytes, offsets) copied with memmove.
template <typename T>
class GapBuffer {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    GapBuffer() = default;
    GapBuffer(const GapBuffer &) = delete;
    GapBuffer &operator=(const GapBuffer &) = delete;

    qsizetype size() const { return m_capacity - gapLength(); }
    bool isEmpty() const { return size() == 0; }

    T element(qsizetype i) const { return i < m_gapStart ? m_data[i] : m_data[i + gapLength()]; }
    void set(qsizetype i, T value) { (i < m_gapStart ? m_data[i] : m_data[i + gapLength()]) = value; }

    // Adds value to every element in [from, to): the step of a partitioning applied in one pass.
    void addTo(qsizetype from, qsizetype to, T value)
    {
        const qsizetype beforeGap = std::min(to, m_gapStart);
        for (qsizetype i = from; i < beforeGap; ++i)
            m_data[i] += value;
        const qsizetype shift = gapLength();
        for (qsizetype i = std::max(from, m_gapStart); i < to; ++i)
            m_data[i + shift] += value;
    }

    // Replaces the contents by count elements, with room to grow after them.
    void assign(const T *values, qsizetype count)
    {
        m_capacity = count + growth(count, 0);
        m_data.reset(new T[m_capacity]);
        if (count > 0)
            std::memcpy(m_data.get(), values, sizeof(T) * count);
        m_gapStart = count;
        m_gapEnd = m_capacity;
    }

    void clear() { assign(nullptr, 0); }

    void insert(qsizetype at, const T *values, qsizetype count)
    {
        if (count <= 0)
            return;
        reserveGap(count);
        moveGapTo(at);
        std::memcpy(m_data.get() + m_gapStart, values, sizeof(T) * count);
        m_gapStart += count;
    }

    void insert(qsizetype at, T value) { insert(at, &value, 1); }

    void erase(qsizetype at, qsizetype count)
    {
        if (count <= 0)
            return;
        moveGapTo(at);
        m_gapEnd += count;
    }

    // Copies count elements from index from on into out.
    void copyOut(qsizetype from, qsizetype count, T *out) const
    {
        const qsizetype beforeGap = std::clamp<qsizetype>(m_gapStart - from, 0, count);
        if (beforeGap > 0)
            std::memcpy(out, m_data.get() + from, sizeof(T) * beforeGap);
        if (count > beforeGap)
            std::memcpy(out + beforeGap, m_data.get() + from + beforeGap + gapLength(), sizeof(T) * (count - beforeGap));
    }

    // How many of the elements [from, from + count) lie together from from on, up to the gap or
    // the end, and where they are; nothing moves.
    const T *runFrom(qsizetype from, qsizetype *count) const
    {
        if (from < m_gapStart) {
            *count = std::min(*count, m_gapStart - from);
            return m_data.get() + from;
        }
        return m_data.get() + from + gapLength();
    }

    // The elements [from, from + count) as one contiguous run; moves the gap out of the way when
    // it lies inside them. The pointer holds until the next change.
    const T *range(qsizetype from, qsizetype count)
    {
        if (from < m_gapStart && from + count > m_gapStart)
            moveGapTo(from + count);
        return from < m_gapStart || count == 0 ? m_data.get() + from : m_data.get() + from + gapLength();
    }

private:
    qsizetype gapLength() const { return m_gapEnd - m_gapStart; }

    // The room left after a change: a share of what is held, so that reallocations stay rare as
    // the sequence grows, and at least enough for what is being added.
    static qsizetype growth(qsizetype held, qsizetype needed)
    {
        return std::max(needed, std::clamp<qsizetype>(held / 8, 64, qsizetype(1) << 22));
    }

    void reserveGap(qsizetype count)
    {
        if (gapLength() >= count)
            return;
        const qsizetype held = size();
        const qsizetype capacity = held + growth(held, count);
        std::unique_ptr<T[]> data(new T[capacity]);
        if (m_gapStart > 0)
            std::memcpy(data.get(), m_data.get(), sizeof(T) * m_gapStart);
        const qsizetype after = m_capacity - m_gapEnd;
        if (after > 0)
            std::memcpy(data.get() + capacity - after, m_data.get() + m_gapEnd, sizeof(T) * after);
        m_data = std::move(data);
        m_gapEnd = capacity - after;
        m_capacity = capacity;
    }

    void moveGapTo(qsizetype at)
    {
        if (at < m_gapStart) {
            const qsizetype count = m_gapStart - at;
            std::memmove(m_data.get() + m_gapEnd - count, m_data.get() + at, sizeof(T) * count);
            m_gapStart = at;
            m_gapEnd -= count;
        } else if (at > m_gapStart) {
            const qsizetype count = at - m_gapStart;
            std::memmove(m_data.get() + m_gapStart, m_data.get() + m_gapEnd, sizeof(T) * count);
            m_gapStart = at;
            m_gapEnd += count;
        }
    }

    std::unique_ptr<T[]> m_data;
    qsizetype m_capacity = 0;
    qsizetype m_gapStart = 0;
    qsizetype m_gapEnd = 0;
};
