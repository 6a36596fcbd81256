#include "flash_chip.h"

namespace velarix::sim {

FlashChip::FlashChip(std::uint32_t start, std::vector<std::uint32_t> sectorSizes)
    : start_(start), sizes_(std::move(sectorSizes)) {
    std::uint32_t at = 0;
    for (std::uint32_t size : sizes_) {
        starts_.push_back(at);
        at += size;
    }
    bytes_ = QByteArray(static_cast<qsizetype>(at), '\xFF');
}

void FlashChip::Fill(std::uint32_t offset, const QByteArray& data) {
    if (offset >= Size()) return;
    const qsizetype n = std::min<qsizetype>(data.size(), Size() - offset);
    bytes_.replace(offset, n, data.left(n));
}

int FlashChip::SectorAt(std::uint32_t offset) const {
    for (int i = 0; i < SectorCount(); ++i) {
        if (offset >= starts_[i] && offset - starts_[i] < sizes_[i]) return i;
    }
    return -1;
}

bool FlashChip::Program(std::uint32_t offset, const QByteArray& data) {
    bool exact = true;
    for (qsizetype i = 0; i < data.size(); ++i) {
        if (offset + i >= Size()) return false;
        char& cell = bytes_[offset + i];
        cell = static_cast<char>(cell & data[i]);
        exact = exact && cell == data[i];
    }
    return exact;
}

bool FlashChip::EraseSector(std::uint32_t offset) {
    for (int i = 0; i < SectorCount(); ++i) {
        if (starts_[i] == offset) {
            bytes_.replace(starts_[i], sizes_[i], QByteArray(sizes_[i], '\xFF'));
            return true;
        }
    }
    return false;
}

void FlashChip::EraseChip() {
    bytes_.fill('\xFF');
}

namespace {

std::vector<std::uint32_t> BottomBoot(int bigSectors) {
    constexpr std::uint32_t K = 1024;
    std::vector<std::uint32_t> sizes{16 * K, 8 * K, 8 * K, 32 * K};
    sizes.insert(sizes.end(), bigSectors, 64 * K);
    return sizes;
}

}  // namespace

std::vector<std::uint32_t> BottomBoot16MbitSectors() {
    return BottomBoot(31);
}

std::vector<std::uint32_t> BottomBoot4MbitSectors() {
    return BottomBoot(7);
}

}  // namespace velarix::sim
