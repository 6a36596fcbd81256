#include "parallel_loader.h"

#include "simulated_decoder.h"

namespace velarix::sim {

namespace {

constexpr std::uint32_t kLargestLoad = 0x1000000;
const QByteArray kGood = "$.C0\r";
const QByteArray kBad = "$?C0\r";

}  // namespace

std::optional<ParallelLoader::Command> ParallelLoader::CommandOf(const QByteArray& word) {
    if (word == "DL") return Command::DL;
    if (word == "PL") return Command::PL;
    if (word == "FL") return Command::FL;
    return std::nullopt;
}

bool ParallelLoader::Agree(Command command, std::uint32_t address, std::uint32_t size,
                           std::uint16_t sum) {
    {
        std::lock_guard lock(mutex_);
        if (refuse_) return false;
        const FlashChip* chip = decoder_.FlashAt(address);
        const std::uint64_t end = std::uint64_t(address) + size;
        if (chip ? end > std::uint64_t(chip->Start()) + chip->Size() : size > kLargestLoad) {
            return false;
        }
        state_ = State::Loading;
        command_ = command;
        address_ = address;
        size_ = size;
        sum_ = sum;
        received_.clear();
        received_.reserve(static_cast<qsizetype>(size));
        verified_ = false;
        overrun_ = false;
        ++loads_;
    }
    if (loadAgreed) loadAgreed();
    return true;
}

bool ParallelLoader::Verified(Command command) const {
    std::lock_guard lock(mutex_);
    return state_ == State::Done && command_ == command && verified_ && !overrun_;
}

void ParallelLoader::Take(std::uint8_t byte) {
    std::lock_guard lock(mutex_);
    if (state_ == State::Idle) return;
    if (state_ == State::Done || static_cast<std::uint32_t>(received_.size()) == size_) {
        overrun_ = true;
        return;
    }
    received_.append(static_cast<char>(byte));
}

void ParallelLoader::TransferOver() {
    QByteArray line;
    {
        std::lock_guard lock(mutex_);
        if (state_ != State::Loading || static_cast<std::uint32_t>(received_.size()) < size_) {
            return;
        }
        line = Finish();
    }
    if (!line.isEmpty() && report) report(line);
}

QByteArray ParallelLoader::Finish() {
    state_ = State::Done;
    std::uint32_t sum = wrongSum_ ? 1 : 0;
    for (char c : received_) sum += static_cast<std::uint8_t>(c);
    verified_ = static_cast<std::uint16_t>(sum) == sum_;
    if (verified_) {
        if (FlashChip* chip = decoder_.FlashAt(address_)) {
            const std::uint32_t offset = address_ - chip->Start();
            for (int sector = 0; sector < chip->SectorCount(); ++sector) {
                const std::uint32_t start = chip->SectorStart(sector);
                const std::uint32_t next =
                    sector + 1 < chip->SectorCount() ? chip->SectorStart(sector + 1) : chip->Size();
                if (next > offset && start < offset + size_) chip->EraseSector(start);
            }
            verified_ = chip->Program(offset, received_);
        }
    }
    if (command_ != Command::DL) return {};
    return verified_ && !overrun_ ? kGood : kBad;
}

void ParallelLoader::SetRefuseLoads(bool refuse) {
    std::lock_guard lock(mutex_);
    refuse_ = refuse;
}

void ParallelLoader::SetWrongSum(bool wrong) {
    std::lock_guard lock(mutex_);
    wrongSum_ = wrong;
}

QByteArray ParallelLoader::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

int ParallelLoader::BytesReceived() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(received_.size());
}

int ParallelLoader::Loads() const {
    std::lock_guard lock(mutex_);
    return loads_;
}

}  // namespace velarix::sim
