#include "data/item_reader.h"

namespace kestavian {

namespace {

bool isTerminator(char c) {
    return c == ',' || c == '\n' || c == '\r';
}

} // namespace

std::optional<std::string_view> ItemReader::next() noexcept {
    if (pos_ >= data_.size())
        return std::nullopt;
    while (pos_ < data_.size() && (data_[pos_] == ' ' || data_[pos_] == '\t'))
        ++pos_;

    std::string_view item;
    if (pos_ < data_.size() && data_[pos_] == '"') {
        const std::size_t start = pos_ + 1;
        const std::size_t close = data_.find('"', start);
        if (close == std::string_view::npos) {
            pos_ = data_.size();
            return data_.substr(start);
        }
        item = data_.substr(start, close - start);
        pos_ = close + 1;
        while (pos_ < data_.size() && !isTerminator(data_[pos_]))
            ++pos_;
    } else {
        const std::size_t start = pos_;
        while (pos_ < data_.size() && !isTerminator(data_[pos_]))
            ++pos_;
        item = data_.substr(start, pos_ - start);
    }
    skipTerminator();
    return item;
}

void ItemReader::skipTerminator() noexcept {
    if (pos_ >= data_.size())
        return;
    const char c = data_[pos_++];
    if (c == '\r' && pos_ < data_.size() && data_[pos_] == '\n')
        ++pos_;
}

std::vector<std::string> splitItems(std::string_view data) {
    std::vector<std::string> items;
    ItemReader reader(data);
    while (const auto item = reader.next())
        items.emplace_back(*item);
    return items;
}

} // namespace kestavian
