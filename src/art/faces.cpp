#include "art/faces.h"

#include <iterator>

namespace art {

QString faceName(int n)
{
    // Face n is the first frame of scene n, which tools/artgen draws once for the card and for
    // celebration n; the comment says what the scene shows.
    static const char* const names[] = {
        "Телефонистка", // a woman at a long desk covered with telephones; a poster with the title
        "Спящий клерк", // a man asleep over a desk piled with papers, a clock on the wall
        "Подсчёт денег", // a man counting banknotes at a round table, a lamp, a climbing plant
        "Ноги на столе", // a man in an armchair with his feet on the desk, telephoning
        "У мольберта", // two people at an easel with a large drawing of a house
        "Презентация", // a woman presenting a rising bar chart to a seated audience
        "Маляр", // a painter on a stepladder painting a wall; paint cans, wallpaper rolls
        "Официантка", // a waitress serving a man at a restaurant table
        "Пустой кабинет", // a desk with a laptop and a telephone, a pink wall, a door
        "У начальника", // a boss at a desk before a window onto the city, three men in suits
    };
    if (n < 1 || n > static_cast<int>(std::size(names)))
        return QString();
    return QString::fromUtf8(names[n - 1]);
}

} // namespace art
