#include "riff_builder.h"

#include "riff/riff_layout.h"

namespace quibo::test {

namespace {

// The id's first four bytes, NUL-filled when shorter.
Bytes FourBytes(const std::string& id) {
    Bytes bytes = id.substr(0, 4);
    bytes.resize(4, '\0');
    return bytes;
}

}  // namespace

RiffNode RiffNode::Leaf(std::string id, Bytes data) {
    RiffNode node;
    node.id_ = std::move(id);
    node.data_ = std::move(data);
    return node;
}

RiffNode RiffNode::Container(std::string id, std::string formType, std::vector<RiffNode> children) {
    RiffNode node;
    node.id_ = std::move(id);
    node.formType_ = std::move(formType);
    node.children_ = std::move(children);
    return node;
}

RiffNode RiffNode::Riff(std::string formType, std::vector<RiffNode> children) {
    return Container("RIFF", std::move(formType), std::move(children));
}

RiffNode RiffNode::List(std::string formType, std::vector<RiffNode> children) {
    return Container("LIST", std::move(formType), std::move(children));
}

RiffNode& RiffNode::DeclaredSize(std::uint32_t size) {
    declaredSize_ = size;
    return *this;
}

RiffNode& RiffNode::WithoutPad() {
    pad_ = false;
    return *this;
}

Bytes RiffNode::ToBytes() const {
    Bytes body = data_;
    if (formType_) {
        body = FourBytes(*formType_);
        for (const RiffNode& child : children_) body += child.ToBytes();
    }
    auto size = declaredSize_.value_or(static_cast<std::uint32_t>(body.size()));
    Bytes bytes = FourBytes(id_) + Le32(size) + body;
    if (pad_ && body.size() % 2 == 1) bytes += '\0';
    return bytes;
}

Bytes Le32(std::uint32_t value) {
    Bytes bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>(value >> (8 * i));
    return bytes;
}

RiffNode StreamList(const std::string& type, const std::string& handler, Bytes format) {
    Bytes header = FourBytes(type) + FourBytes(handler);
    header.resize(56, '\0');
    return RiffNode::List("strl", {RiffNode::Leaf("strh", header), RiffNode::Leaf("strf", std::move(format))});
}

RiffNode InfoList(const std::vector<std::pair<std::string, std::string>>& fields) {
    std::vector<RiffNode> chunks;
    for (const auto& [code, text] : fields) chunks.push_back(RiffNode::Leaf(code, text + '\0'));
    return RiffNode::List("INFO", std::move(chunks));
}

RiffNode SmallAvi(const std::string& formType) {
    Bytes mainHeader(56, '\0');
    mainHeader.replace(32, 8, Le32(320) + Le32(240));
    Bytes bitmapInfo = Le32(40) + Le32(320) + Le32(240) + Bytes("\x01\x00\x0c\x00", 4) + "XVID";
    bitmapInfo.resize(40, '\0');
    Bytes waveFormat = Bytes("\x55\x00\x02\x00", 4) + Le32(44100) + Le32(16000) + Bytes("\x01\x00\x00\x00", 4);
    using N = RiffNode;
    return N::Riff(formType, {
        N::List("hdrl", {N::Leaf("avih", mainHeader), StreamList("vids", "XVID", bitmapInfo),
                         StreamList("auds", "", waveFormat)}),
        N::Leaf("JUNK", "    Made with Tool 2    "),
        InfoList({{"INAM", "Title"}, {"IART", "Artist"}}),
        N::List("movi", {N::Leaf("00dc", "frame"), N::Leaf("01wb", "AUD1"), N::Leaf("01wb", "AUD22")}),
    });
}

Bytes MovieList(const Bytes& file) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file.data());
    for (std::size_t at = 12; at + 12 <= file.size();) {
        std::uint32_t size = ReadLe32(bytes + at + 4);
        if (file.compare(at, 4, "LIST") == 0 && file.compare(at + 8, 4, "movi") == 0) return file.substr(at, 8 + size);
        at += 8 + PaddedSize(size);
    }
    return {};
}

}  // namespace quibo::test
