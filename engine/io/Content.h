#pragma once

#include <cstdint>

#include "engine/core/ContentKey.h"
#include "engine/core/EventReceiver.h"
#include "engine/core/Map.h"
#include "engine/core/PropertyContent.h"
#include "engine/core/RefPointer.h"
#include "engine/core/String.h"

// A content type: four ASCII letters with the first in the lowest byte, so that the bytes in
// memory read the code from left to right ('imag' is 0x67616D69).
constexpr uint32_t contentType(const char (&code)[5]) {
    return uint32_t(uint8_t(code[0])) | uint32_t(uint8_t(code[1])) << 8 |
           uint32_t(uint8_t(code[2])) << 16 | uint32_t(uint8_t(code[3])) << 24;
}

// The base of every content object: an event receiver that knows the content manager that
// loaded it and its name (its content key), and how the manager hands it out.
class CContent : public CEventReceiver, public virtual IPropertyContent {
public:
    // Bits of the hand-out mode. Without either, every load hands out a fresh makeCopy of the
    // cached object.
    static constexpr uint32_t kShared = 1;
    static constexpr uint32_t kNeverCached = 2;

    explicit CContent(const CContentKey& key) : m_key(key) {}

    uint32_t getHandOutMode() const { return m_handOutMode; }
    const CContentKey& getContentKey() const { return m_key; }

    // A new object with one reference, or none when the class cannot be copied.
    virtual CRefPointer<CContent> makeCopy() const;
    virtual uint32_t getContentType() const = 0;

    // The content manager that loaded the object; none for objects made in code, and none once
    // the manager is gone.
    IPropertyContentSource* getContentSource() const override;
    const CStringW& getContentName() const override { return m_key.getName(); }

protected:
    CContent(const CContent& other) = default;
    ~CContent() override = default;

    // Each content class sets its own mode when it is made.
    void setHandOutMode(uint32_t mode) { m_handOutMode = mode; }

private:
    uint32_t m_handOutMode = 0;
    CContentKey m_key;
};

// The content manager's cache of one content type: name id -> object, each holding one
// reference for the cache.
using ContentCacheMap = CMap<int32_t, CRefPointer<CContent>>;
