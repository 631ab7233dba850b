#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The typefaces a card can print in: the installed outline faces that cover Japanese, as
// fontconfig knows them.
namespace orivel {

struct CardFace {
  QString family;        // the name a profile keeps: the face's English family name if it has one
  QString japaneseName;  // the name shown to the user: its Japanese family name if it has one
  QStringList names;     // every family name of the face, in every language it gives
};

// The installed faces that cover Japanese, by their Japanese names.
std::vector<CardFace> JapaneseFaces();

// The face one of whose family names is `name`, compared without regard to case; nullopt
// when no face that covers Japanese has that name.
std::optional<CardFace> FindCardFace(const QString& name);

}  // namespace orivel
