#include "PatternCodec.h"

#include <cstring>

namespace lumivane {
namespace {

template <std::size_t N> void writeInts(Archive& a, const std::int32_t (&values)[N]) {
    for (std::int32_t v : values)
        a.writeInt(v);
}

template <std::size_t N> void writeWords(Archive& a, const std::uint32_t (&values)[N]) {
    for (std::uint32_t v : values)
        a.writeWord(v);
}

template <std::size_t N> void readInts(Archive& a, std::int32_t (&values)[N]) {
    for (std::int32_t& v : values)
        v = a.readInt();
}

template <std::size_t N> void readWords(Archive& a, std::uint32_t (&values)[N]) {
    for (std::uint32_t& v : values)
        v = a.readWord();
}

void writeLayer(Archive& a, const Layer& layer) {
    writeInts(a, layer.shape);
    writeInts(a, layer.size);
    writeInts(a, layer.ratio);
    writeInts(a, layer.animate);
    writeInts(a, layer.angleMode);
    writeWords(a, layer.colour);
    writeInts(a, layer.colourMode);
    writeInts(a, layer.sizeMode);
    a.writeBytes(layer.border, sizeof layer.border);
    const std::uint8_t zero = 0;
    a.writeBytes(&zero, 1);
}

void readLayer(Archive& a, Layer& layer) {
    readInts(a, layer.shape);
    readInts(a, layer.size);
    readInts(a, layer.ratio);
    readInts(a, layer.animate);
    readInts(a, layer.angleMode);
    readWords(a, layer.colour);
    readInts(a, layer.colourMode);
    readInts(a, layer.sizeMode);
    a.readBytes(layer.border, sizeof layer.border);
    a.readBytes(&layer.padding, 1);
}

void writeName(Archive& a, const char (&name)[PATTERN_NAME_BYTES]) {
    char clean[PATTERN_NAME_BYTES] = {};
    const void* nul = std::memchr(name, '\0', sizeof name);
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - name) : sizeof name;
    std::memcpy(clean, name, length);
    a.writeBytes(clean, sizeof clean);
}

} // namespace

void writePattern(Archive& a, const Pattern& p) {
    a.writeInt(p.symmetry);
    a.writeInt(p.resetTime);
    a.writeInt(p.rotation);
    a.writeInt(p.speed);
    a.writeInt(p.imageSize);
    a.writeInt(p.balance);
    a.writeInt(p.animationLevel);
    writeInts(a, p.amount);
    a.writeWord(p.backgroundColour);
    for (const Layer& layer : p.layers)
        writeLayer(a, layer);
    a.writeInt(p.screenShape);
    writeName(a, p.name);
    a.writeInt(p.darkBorders);
    a.writeInt(p.backgroundMode);
}

void readPattern(Archive& a, Pattern& p, std::size_t recordBytes) {
    p.symmetry = a.readInt();
    p.resetTime = a.readInt();
    p.rotation = a.readInt();
    p.speed = a.readInt();
    p.imageSize = a.readInt();
    p.balance = a.readInt();
    p.animationLevel = a.readInt();
    readInts(a, p.amount);
    p.backgroundColour = a.readWord();
    for (Layer& layer : p.layers)
        readLayer(a, layer);
    p.screenShape = a.readInt();
    a.readBytes(p.name, sizeof p.name);
    p.darkBorders = a.readInt();
    if (recordBytes >= PATTERN_BYTES)
        p.backgroundMode = a.readInt();
}

} // namespace lumivane
