#include "FuzzTargets.h"
#include "support/CorpusReplay.h"

#include <gtest/gtest.h>

using veldra::test::replayCorpus;

TEST(XmlCorpusReplay, Load) { replayCorpus("xml_load", veldra::fuzz::xmlLoad); }
TEST(XmlCorpusReplay, Save) { replayCorpus("xml_save", veldra::fuzz::xmlSave); }
TEST(XmlCorpusReplay, Query) { replayCorpus("xml_query", veldra::fuzz::xmlQuery); }
TEST(ReaderCorpusReplay, Docx) { replayCorpus("docx_reader", veldra::fuzz::docxReader); }
TEST(ReaderCorpusReplay, Xlsx) { replayCorpus("xlsx_reader", veldra::fuzz::xlsxReader); }
// Metafiles are converted under a time limit of their own; an input that outlasts this one hangs.
TEST(ReaderCorpusReplay, Pictures) { replayCorpus("picture_renderer", veldra::fuzz::pictureRenderer, std::chrono::seconds(60)); }
