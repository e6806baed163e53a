#include "qicohandler.h"

#include <QIODevice>
#include <QSize>
#include <QVector>
#include <QtEndian>

#include <climits>

namespace {

const int IcoHeaderSize = 6;
const int IcoDirEntrySize = 16;
const int BmpInfoHeaderSize = 40;
const int MaxIcoSide = 256;
const int MaxColorCount = 256;

quint16 u16At(const uchar* p) { return qFromLittleEndian<quint16>(p); }
quint32 u32At(const uchar* p) { return qFromLittleEndian<quint32>(p); }

void putU16(QByteArray& out, quint16 value)
{
    uchar bytes[2];
    qToLittleEndian(value, bytes);
    out.append(reinterpret_cast<const char*>(bytes), 2);
}

void putU32(QByteArray& out, quint32 value)
{
    uchar bytes[4];
    qToLittleEndian(value, bytes);
    out.append(reinterpret_cast<const char*>(bytes), 4);
}

ICONDIR parseIconDir(const uchar* p)
{
    ICONDIR dir;
    dir.idReserved = u16At(p);
    dir.idType = u16At(p + 2);
    dir.idCount = u16At(p + 4);
    return dir;
}

ICONDIRENTRY parseIconDirEntry(const uchar* p)
{
    ICONDIRENTRY entry;
    entry.bWidth = p[0];
    entry.bHeight = p[1];
    entry.bColorCount = p[2];
    entry.bReserved = p[3];
    entry.wPlanes = u16At(p + 4);
    entry.wBitCount = u16At(p + 6);
    entry.dwBytesInRes = u32At(p + 8);
    entry.dwImageOffset = u32At(p + 12);
    return entry;
}

bool readIconDirEntry(QIODevice* device, ICONDIRENTRY* entry)
{
    if (!device)
        return false;
    const QByteArray bytes = device->read(IcoDirEntrySize);
    if (bytes.size() < IcoDirEntrySize)
        return false;
    *entry = parseIconDirEntry(reinterpret_cast<const uchar*>(bytes.constData()));
    return true;
}

// Seeks only within the device's data: offsets come from the file and may
// point anywhere. Sequential devices cannot seek at all.
bool seekWithin(QIODevice* device, qint64 pos)
{
    if (device->isSequential() || pos < 0 || pos > device->size())
        return false;
    return device->seek(pos);
}

// Bytes of one colour row of a BMP entry; 0 for bit counts without a reader.
qint64 colorRowBytes(int bitCount, qint64 width)
{
    switch (bitCount) {
    case 1:
        return (width + 31) / 32 * 4;
    case 4:
        return (width + 7) / 8 * 4;
    case 8:
        return (width + 3) / 4 * 4;
    case 24:
    case 32:
        return (bitCount * width + 31) / 32 * 4;
    default:
        return 0;
    }
}

qint64 maskRowBytes(qint64 width) { return (width + 31) / 32 * 4; }

// The stored size of an image: the longer side at most 256, never below 1.
QSize icoSize(const QSize& size)
{
    if (size.width() <= MaxIcoSide && size.height() <= MaxIcoSide)
        return size;
    return size.scaled(MaxIcoSide, MaxIcoSide, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

struct PreparedIcon {
    QByteArray entry;
    QByteArray info;
    QByteArray data;
};

// Colour rows (BGRA, bottom-up) followed by the AND mask (bit set where
// alpha is 0, bottom-up, rows padded to 32 bits with zero bits).
QByteArray iconData(const QImage& image)
{
    const int w = image.width();
    const int h = image.height();
    const int colorBytes = 4 * w * h;
    const int maskStride = int(maskRowBytes(w));
    QByteArray data(colorBytes + h * maskStride, '\0');
    uchar* colors = reinterpret_cast<uchar*>(data.data());
    uchar* mask = colors + colorBytes;
    for (int y = h - 1; y >= 0; --y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        uchar* maskRow = mask + (h - 1 - y) * maskStride;
        for (int x = 0; x < w; ++x) {
            const QRgb pixel = line[x];
            *colors++ = uchar(qBlue(pixel));
            *colors++ = uchar(qGreen(pixel));
            *colors++ = uchar(qRed(pixel));
            *colors++ = uchar(qAlpha(pixel));
            if (qAlpha(pixel) == 0)
                maskRow[x >> 3] |= uchar(0x80 >> (x & 7));
        }
    }
    return data;
}

} // namespace

ICOReader::ICOReader(QIODevice* device)
    : device(device)
{
}

bool ICOReader::canRead(QIODevice* device)
{
    if (!device)
        return false;
    // peek() leaves every byte in place, on sequential devices too.
    const QByteArray bytes = device->peek(IcoHeaderSize + IcoDirEntrySize);
    if (bytes.size() < IcoHeaderSize + IcoDirEntrySize)
        return false;
    const uchar* p = reinterpret_cast<const uchar*>(bytes.constData());
    const ICONDIR dir = parseIconDir(p);
    const ICONDIRENTRY entry = parseIconDirEntry(p + IcoHeaderSize);
    return dir.idReserved == 0 && dir.idType == 1 && entry.bReserved == 0 && entry.wPlanes <= 1
        && entry.wBitCount <= 32 && entry.dwBytesInRes >= BmpInfoHeaderSize;
}

bool ICOReader::readHeader()
{
    if (!device || headerAccepted)
        return headerAccepted;
    startPosition = device->pos();
    const QByteArray bytes = device->read(IcoHeaderSize);
    if (bytes.size() == IcoHeaderSize) {
        header = parseIconDir(reinterpret_cast<const uchar*>(bytes.constData()));
        headerAccepted = header.idReserved == 0 || header.idType == 1;
    }
    return headerAccepted;
}

int ICOReader::count()
{
    return readHeader() ? header.idCount : 0;
}

bool ICOReader::readIconEntry(int index, ICONDIRENTRY* entry)
{
    if (!device || index < 0)
        return false;
    if (!seekWithin(device, startPosition + IcoHeaderSize + qint64(IcoDirEntrySize) * index))
        return false;
    return readIconDirEntry(device, entry);
}

bool ICOReader::readBMPHeader(ICONDIRENTRY& entry, BMP_INFOHDR* header)
{
    if (!device || !seekWithin(device, startPosition + entry.dwImageOffset))
        return false;
    const QByteArray bytes = device->read(BmpInfoHeaderSize);
    if (bytes.size() < BmpInfoHeaderSize)
        return false;
    const uchar* p = reinterpret_cast<const uchar*>(bytes.constData());
    header->biSize = u32At(p);
    header->biWidth = qint32(u32At(p + 4));
    header->biHeight = qint32(u32At(p + 8));
    header->biPlanes = u16At(p + 12);
    header->biBitCount = u16At(p + 14);
    header->biCompression = u32At(p + 16);
    header->biSizeImage = u32At(p + 20);
    header->biXPelsPerMeter = qint32(u32At(p + 24));
    header->biYPelsPerMeter = qint32(u32At(p + 28));
    header->biClrUsed = u32At(p + 32);
    header->biClrImportant = u32At(p + 36);

    IcoAttrib& a = imageAttributes;
    a.bitCount = header->biBitCount ? header->biBitCount : entry.wBitCount;
    // A negative (top-down) height turns into one far too large to fit.
    a.height = int(quint32(header->biHeight) / 2);
    a.width = header->biWidth;
    if (a.bitCount == 16 || a.bitCount == 24 || a.bitCount == 32) {
        a.colorCount = 0;
    } else {
        const quint64 colors = header->biClrUsed ? quint64(header->biClrUsed) : quint64(1) << (a.bitCount % 32);
        a.colorCount = int(qMin<quint64>(colors, INT_MAX));
    }
    return true;
}

void ICOReader::findColorInfo(QImage& image)
{
    if (imageAttributes.colorCount > 0)
        readColorTable(image);
    else if (imageAttributes.bitCount == 16)
        image = QImage();
}

void ICOReader::readColorTable(QImage& image)
{
    const int colors = imageAttributes.colorCount;
    if (image.isNull() || colors > MaxColorCount) {
        image = QImage();
        return;
    }
    image.setColorCount(colors);
    const QByteArray table = device->read(4 * colors);
    if (table.size() < 4 * colors) {
        image = QImage();
        return;
    }
    const uchar* p = reinterpret_cast<const uchar*>(table.constData());
    for (int i = 0; i < colors; ++i, p += 4)
        image.setColor(i, qRgb(p[2], p[1], p[0]));
}

void ICOReader::readBMP(QImage& image)
{
    switch (imageAttributes.bitCount) {
    case 1:
        read1BitBMP(image);
        break;
    case 4:
        read4BitBMP(image);
        break;
    case 8:
        read8BitBMP(image);
        break;
    case 16:
    case 24:
    case 32:
        read16_24_32BMP(image);
        break;
    default:
        image = QImage();
    }
}

void ICOReader::read1BitBMP(QImage& image)
{
    if (image.format() != QImage::Format_Mono) {
        image = QImage();
        return;
    }
    const qint64 rowBytes = image.bytesPerLine();
    for (int y = image.height() - 1; y >= 0; --y) {
        if (device->read(reinterpret_cast<char*>(image.scanLine(y)), rowBytes) != rowBytes) {
            image = QImage();
            return;
        }
    }
}

void ICOReader::read4BitBMP(QImage& image)
{
    if (image.format() != QImage::Format_Indexed8) {
        image = QImage();
        return;
    }
    const int w = image.width();
    const qint64 rowBytes = colorRowBytes(4, w);
    QByteArray row(int(rowBytes), '\0');
    const uchar* src = reinterpret_cast<const uchar*>(row.constData());
    for (int y = image.height() - 1; y >= 0; --y) {
        if (device->read(row.data(), rowBytes) != rowBytes) {
            image = QImage();
            return;
        }
        uchar* dst = image.scanLine(y);
        for (int x = 0; x + 1 < w; x += 2) {
            dst[x] = src[x / 2] >> 4;
            dst[x + 1] = src[x / 2] & 0x0f;
        }
        if (w & 1)
            dst[w - 1] = src[w / 2] >> 4;
    }
}

void ICOReader::read8BitBMP(QImage& image)
{
    if (image.format() != QImage::Format_Indexed8) {
        image = QImage();
        return;
    }
    const qint64 rowBytes = image.bytesPerLine();
    for (int y = image.height() - 1; y >= 0; --y) {
        if (device->read(reinterpret_cast<char*>(image.scanLine(y)), rowBytes) != rowBytes) {
            image = QImage();
            return;
        }
    }
}

void ICOReader::read16_24_32BMP(QImage& image)
{
    const int bitCount = imageAttributes.bitCount;
    if ((bitCount != 24 && bitCount != 32) || image.depth() != 32) {
        image = QImage(); // 16-bit entries are not supported
        return;
    }
    const int w = image.width();
    const qint64 rowBytes = colorRowBytes(bitCount, w);
    QByteArray row(int(rowBytes), '\0');
    const uchar* src = reinterpret_cast<const uchar*>(row.constData());
    for (int y = image.height() - 1; y >= 0; --y) {
        if (device->read(row.data(), rowBytes) != rowBytes) {
            image = QImage();
            return;
        }
        QRgb* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (bitCount == 32) {
            for (int x = 0; x < w; ++x) {
                const uchar* p = src + 4 * x;
                dst[x] = qRgba(p[2], p[1], p[0], p[3]);
            }
        } else {
            for (int x = 0; x < w; ++x) {
                const uchar* p = src + 3 * x;
                dst[x] = qRgb(p[2], p[1], p[0]);
            }
        }
    }
}

// Whether the colour table, colour rows and mask of the entry whose BMP
// header was just read fit in what is left of the device; checked before
// any image is allocated, so that made-up sizes cannot exhaust memory.
bool ICOReader::entryFitsDevice() const
{
    const IcoAttrib& a = imageAttributes;
    if (a.width <= 0 || a.height <= 0 || device->isSequential())
        return false;
    const qint64 remaining = device->size() - device->pos();
    const qint64 table = qint64(a.colorCount) * 4;
    if (remaining < table)
        return false;
    const qint64 perRow = colorRowBytes(a.bitCount, a.width) + maskRowBytes(a.width);
    return a.height <= (remaining - table) / perRow;
}

QImage ICOReader::iconAt(int index)
{
    if (index < 0 || !device || index >= count())
        return QImage();
    ICONDIRENTRY entry;
    BMP_INFOHDR bmp;
    if (!readIconEntry(index, &entry) || !readBMPHeader(entry, &bmp))
        return QImage();

    const IcoAttrib& a = imageAttributes;
    QImage::Format format;
    switch (a.bitCount) {
    case 1:
        if (a.colorCount != 2)
            return QImage();
        format = QImage::Format_Mono;
        break;
    case 4:
    case 8:
        // Indexed even with two colours: the 4- and 8-bit rows hold a byte per pixel.
        if (a.colorCount < 1 || a.colorCount > MaxColorCount)
            return QImage();
        format = QImage::Format_Indexed8;
        break;
    case 24:
        format = QImage::Format_RGB32;
        break;
    case 32:
        format = QImage::Format_ARGB32;
        break;
    default:
        return QImage(); // 16-bit and unknown bit counts
    }
    if (!entryFitsDevice())
        return QImage();

    QImage image(a.width, a.height, format);
    if (image.isNull())
        return QImage();
    findColorInfo(image);
    if (image.isNull())
        return QImage();
    readBMP(image);
    if (image.isNull())
        return QImage();

    QImage mask(a.width, a.height, QImage::Format_Mono);
    if (mask.isNull())
        return QImage();
    mask.setColorCount(2);
    mask.setColor(0, qRgb(255, 255, 255));
    mask.setColor(1, qRgb(0, 0, 0));
    read1BitBMP(mask);
    if (mask.isNull())
        return QImage();

    QImage result = image.convertToFormat(QImage::Format_ARGB32);
    if (result.isNull())
        return QImage();
    for (int y = 0; y < a.height; ++y) {
        const uchar* bits = mask.constScanLine(y);
        QRgb* pixels = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < a.width; ++x) {
            if (bits[x >> 3] & (0x80 >> (x & 7)))
                pixels[x] = 0;
        }
    }
    return result.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QList<QImage> ICOReader::read(QIODevice* device)
{
    QList<QImage> images;
    ICOReader reader(device);
    for (int i = 0; i < reader.count(); ++i)
        images.append(reader.iconAt(i));
    return images;
}

bool ICOReader::write(QIODevice* device, const QList<QImage>& images)
{
    if (!device || images.isEmpty() || images.size() > 0xFFFF || !device->isWritable())
        return false;
    for (const QImage& image : images) {
        if (image.isNull())
            return false;
    }

    const int n = images.size();

    // Sizes and offsets first, so that a file whose offsets would not fit
    // in 32 bits is refused before any work. Offsets count from the header,
    // as the reader takes them, wherever on the device the file starts.
    QVector<QSize> sizes;
    QVector<quint32> offsets;
    sizes.reserve(n);
    offsets.reserve(n);
    qint64 offset = IcoHeaderSize + qint64(IcoDirEntrySize) * n;
    for (const QImage& image : images) {
        const QSize size = icoSize(image.size());
        if (offset > qint64(0xFFFFFFFFu))
            return false;
        sizes.append(size);
        offsets.append(quint32(offset));
        offset += BmpInfoHeaderSize + 4 * qint64(size.width()) * size.height()
            + size.height() * maskRowBytes(size.width());
    }

    QVector<PreparedIcon> icons(n);
    for (int i = 0; i < n; ++i) {
        const QSize size = sizes.at(i);
        QImage image = images.at(i);
        if (image.size() != size)
            image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        image = image.convertToFormat(QImage::Format_ARGB32);
        if (image.isNull())
            return false;

        PreparedIcon& icon = icons[i];
        icon.data = iconData(image);
        const quint32 bytesInRes = quint32(BmpInfoHeaderSize + icon.data.size());
        const quint16 planes = 1;
        const quint16 bitCount = 32;
        const quint8 colorCount = 0;

        icon.entry.append(char(size.width() == 256 ? 0 : size.width()));
        icon.entry.append(char(size.height() == 256 ? 0 : size.height()));
        icon.entry.append(char(colorCount));
        icon.entry.append('\0');
        putU16(icon.entry, planes);
        putU16(icon.entry, bitCount);
        putU32(icon.entry, bytesInRes);
        putU32(icon.entry, offsets.at(i));

        putU32(icon.info, BmpInfoHeaderSize);
        putU32(icon.info, quint32(size.width()));
        putU32(icon.info, quint32(2 * size.height()));
        putU16(icon.info, planes);
        putU16(icon.info, bitCount);
        putU32(icon.info, 0); // uncompressed
        putU32(icon.info, bytesInRes - BmpInfoHeaderSize);
        putU32(icon.info, 0);
        putU32(icon.info, 0);
        putU32(icon.info, colorCount);
        putU32(icon.info, 0);
    }

    QByteArray dir;
    putU16(dir, 0);
    putU16(dir, 1);
    putU16(dir, quint16(n));
    if (device->write(dir) != dir.size())
        return false;
    for (const PreparedIcon& icon : icons) {
        if (device->write(icon.entry) != icon.entry.size())
            return false;
    }
    for (const PreparedIcon& icon : icons) {
        const bool infoWritten = device->write(icon.info) == icon.info.size();
        const bool dataWritten = device->write(icon.data) == icon.data.size();
        if (!infoWritten || !dataWritten)
            return false;
    }
    return true;
}

QtIcoHandler::QtIcoHandler(QIODevice* device)
    : reader(new ICOReader(device))
{
    setDevice(device);
}

QtIcoHandler::~QtIcoHandler()
{
    delete reader;
}

QByteArray QtIcoHandler::name() const
{
    return QByteArrayLiteral("ico");
}

bool QtIcoHandler::canRead() const
{
    if (!device()) {
        qWarning("QtIcoHandler::canRead() called with no device");
        return false;
    }
    if (!ICOReader::canRead(device()))
        return false;
    setFormat("ico");
    return true;
}

bool QtIcoHandler::canRead(QIODevice* device)
{
    return ICOReader::canRead(device);
}

bool QtIcoHandler::read(QImage* image)
{
    const QImage icon = reader->iconAt(currentIndex);
    if (icon.isNull() || !image)
        return false;
    *image = icon;
    return true;
}

bool QtIcoHandler::write(const QImage& image)
{
    return ICOReader::write(device(), QList<QImage>() << image);
}

bool QtIcoHandler::write(const QList<QImage>& images)
{
    return ICOReader::write(device(), images);
}

bool QtIcoHandler::jumpToNextImage()
{
    return jumpToImage(currentIndex + 1);
}

bool QtIcoHandler::jumpToImage(int index)
{
    if (index < 0 || index >= imageCount())
        return false;
    currentIndex = index;
    return true;
}

int QtIcoHandler::imageCount() const
{
    return reader->count();
}
