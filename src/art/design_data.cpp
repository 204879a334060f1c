#include "art/design_data.h"

#include "art/art_error.h"
#include "art/stored_forms.h"

#include <QFile>
#include <map>

// Resources compiled into a static library need an explicit initialisation, outside any
// namespace.
static void initArtResources()
{
    Q_INIT_RESOURCE(art);
}

namespace art {

namespace {

enum class Form { Jpeg, Counted, Plain };

struct Source
{
    const char* file;
    Form form;
    bool doubled = true; // drawn for high-density screens too, as "name@2x.ext"
};

const std::map<std::string, Source>& properties()
{
    static const std::map<std::string, Source> table = {
        { "Image23.Picture.Data", { "start.jpg", Form::Jpeg } },
        { "Image17.Picture.Data", { "game.jpg", Form::Jpeg } },
        // The results page shows the start page's picture, byte for byte.
        { "Image24.Picture.Data", { "start.jpg", Form::Jpeg } },
        { "ImageList1.Bitmap", { "cards.il", Form::Plain } },
        { "GIFAnimator1.Image.Data", { "anim01.gif", Form::Counted } },
        { "GIFAnimator2.Image.Data", { "anim02.gif", Form::Counted } },
        { "GIFAnimator3.Image.Data", { "anim03.gif", Form::Counted } },
        { "GIFAnimator4.Image.Data", { "anim04.gif", Form::Counted } },
        { "GIFAnimator5.Image.Data", { "anim05.gif", Form::Counted } },
        { "GIFAnimator6.Image.Data", { "anim06.gif", Form::Counted } },
        { "GIFAnimator7.Image.Data", { "anim07.gif", Form::Counted } },
        { "GIFAnimator8.Image.Data", { "anim08.gif", Form::Counted } },
        { "GIFAnimator9.Image.Data", { "anim09.gif", Form::Counted } },
        { "GIFAnimator10.Image.Data", { "anim10.gif", Form::Counted } },
        { "BitBtn1.Glyph.Data", { "glyph_start.bmp", Form::Counted } },
        { "BitBtn2.Glyph.Data", { "glyph_play.bmp", Form::Counted } },
        { "BitBtn3.Glyph.Data", { "glyph_exit.bmp", Form::Counted } },
        { "BitBtn4.Glyph.Data", { "glyph_results.bmp", Form::Counted } },
        { "Form1.Icon.Data", { "icon.ico", Form::Plain, false } },
    };
    return table;
}

} // namespace

std::string propertyName(const std::string& property, Density density)
{
    return density == Density::Double ? property + "@2x" : property;
}

QByteArray designProperty(const std::string& property, Density density)
{
    static const bool initialised = (initArtResources(), true);
    (void)initialised;

    const auto it = properties().find(property);
    if (it == properties().end())
        throw ArtError("no picture property " + property);
    std::string name = it->second.file;
    if (density == Density::Double) {
        if (!it->second.doubled)
            throw ArtError(property + " has no high-density picture");
        name.insert(name.rfind('.'), "@2x");
    }
    QFile file(QStringLiteral(":/art/") + QString::fromStdString(name));
    if (!file.open(QIODevice::ReadOnly))
        throw ArtError(propertyName(property, density) + ": asset " + name + " is missing");
    const QByteArray bytes = file.readAll();
    switch (it->second.form) {
    case Form::Jpeg:
        return makePictureData("TJPEGImage", bytes);
    case Form::Counted:
        return makeCountedData(bytes);
    case Form::Plain:
        break;
    }
    return bytes;
}

} // namespace art
