#include "platform/StringList.h"

#include "platform/Exceptions.h"

namespace rpt {

const TStringList::Entry& TStringList::At(size_t index) const {
    if (index >= entries_.size())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return entries_[index];
}

TStringList::Entry& TStringList::At(size_t index) {
    return const_cast<Entry&>(static_cast<const TStringList*>(this)->At(index));
}

const std::string& TStringList::Strings(size_t index) const { return At(index).text; }
TObject* TStringList::Objects(size_t index) const { return At(index).object.get(); }
void TStringList::SetString(size_t index, std::string text) { At(index).text = std::move(text); }
void TStringList::SetObject(size_t index, std::unique_ptr<TObject> object) {
    At(index).object = std::move(object);
}

size_t TStringList::Add(std::string text) { return AddObject(std::move(text), nullptr); }

size_t TStringList::AddObject(std::string text, std::unique_ptr<TObject> object) {
    entries_.push_back(Entry{std::move(text), std::move(object)});
    return entries_.size() - 1;
}

void TStringList::Delete(size_t index) {
    At(index);
    entries_.erase(entries_.begin() + static_cast<ptrdiff_t>(index));
}

void TStringList::Clear() { entries_.clear(); }

ptrdiff_t TStringList::IndexOf(const std::string& text) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].text == text)
            return static_cast<ptrdiff_t>(i);
    return -1;
}

void TStringList::AssignTexts(const TStringList& other) {
    if (&other == this)
        return;
    entries_.clear();
    for (const Entry& e : other.entries_)
        entries_.push_back(Entry{e.text, nullptr});
}

} // namespace rpt
