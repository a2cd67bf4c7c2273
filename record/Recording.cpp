#include "record/Recording.h"
