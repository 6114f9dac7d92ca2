#pragma once
// An ordered list of 8-bit strings, each with an optional owned object.
#include "platform/Component.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace rpt {

class TStringList {
public:
    TStringList() = default;
    TStringList(const TStringList&) = delete;
    TStringList& operator=(const TStringList&) = delete;

    size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    // Raise EListError for an index out of range.
    const std::string& Strings(size_t index) const;
    TObject* Objects(size_t index) const;
    void SetString(size_t index, std::string text);
    void SetObject(size_t index, std::unique_ptr<TObject> object);

    size_t Add(std::string text);
    size_t AddObject(std::string text, std::unique_ptr<TObject> object);
    void Delete(size_t index);
    void Clear();
    // Index of the first entry equal to text, or -1.
    ptrdiff_t IndexOf(const std::string& text) const;
    // Copies the texts only; objects are not shared.
    void AssignTexts(const TStringList& other);

private:
    struct Entry {
        std::string text;
        std::unique_ptr<TObject> object;
    };
    const Entry& At(size_t index) const;
    Entry& At(size_t index);
    std::vector<Entry> entries_;
};

} // namespace rpt
