#pragma once

namespace appinfo {

// Application name "Pictavo", the organisation (and its domain in lower
// case) and version "2.9": these decide the data folder and settings scope.
void setApplicationIdentity();

}
