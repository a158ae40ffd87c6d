#include "FuzzTargets.h"
#include "support/CorpusReplay.h"

#include <gtest/gtest.h>

using veldra::test::replayCorpus;

TEST(XmlCorpusReplay, Load) { replayCorpus("xml_load", veldra::fuzz::xmlLoad); }
TEST(XmlCorpusReplay, Save) { replayCorpus("xml_save", veldra::fuzz::xmlSave); }
TEST(XmlCorpusReplay, Query) { replayCorpus("xml_query", veldra::fuzz::xmlQuery); }
