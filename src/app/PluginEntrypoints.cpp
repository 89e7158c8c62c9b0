#include "app/PluginEntrypoints.h"

#include "platform/quicktime/PluginTable.h"

namespace {
// Index ranges: 0 the global; 1-33 QT3DAudio; 34 QTEffect; 35-37
// QTEffectSequence; 38-43 QTUserData; 44-61 QTTrack; 62-72 QTVideoTrack;
// 73-86 QTGraphicsExporter; 87-104 QTSoundTrack; 105-145 EditableMovie.
constexpr std::array<std::string_view, kPluginEntrypointCount> kTexts = {
    "GetQTGraphicsExporter(format as string) As QTGraphicsExporter",
    // QT3DAudio
    "QT3DAudio.__init", "QT3DAudio.__exit", "QT3DAudio.Constructor(track As QTSoundTrack)",
    "QT3DAudio.Enabled.Get", "QT3DAudio.Enabled.Set", "QT3DAudio.Gain.Get", "QT3DAudio.Gain.Set",
    "QT3DAudio.ListenerX.Get", "QT3DAudio.ListenerX.Set", "QT3DAudio.ListenerY.Get",
    "QT3DAudio.ListenerY.Set", "QT3DAudio.ListenerZ.Get", "QT3DAudio.ListenerZ.Set",
    "QT3DAudio.SourceX.Get", "QT3DAudio.SourceX.Set", "QT3DAudio.SourceY.Get",
    "QT3DAudio.SourceY.Set", "QT3DAudio.SourceZ.Get", "QT3DAudio.SourceZ.Set",
    "QT3DAudio.Reverb.Get", "QT3DAudio.Reverb.Set", "QT3DAudio.RoomSize.Get",
    "QT3DAudio.RoomSize.Set", "QT3DAudio.Doppler.Get", "QT3DAudio.Doppler.Set",
    "QT3DAudio.Distance.Get", "QT3DAudio.Distance.Set", "QT3DAudio.Orientation.Get",
    "QT3DAudio.Orientation.Set", "QT3DAudio.Spread.Get", "QT3DAudio.Spread.Set",
    "QT3DAudio.Update()", "QT3DAudio.Reset()",
    // QTEffect
    "QTEffect.__exit",
    // QTEffectSequence
    "QTEffectSequence.__exit", "QTEffectSequence.Constructor(effect As QTEffect)",
    "QTEffectSequence.Duration.Set",
    // QTUserData
    "QTUserData.__exit", "QTUserData.Count.Get", "QTUserData.Item(index As Integer) As String",
    "QTUserData.Append(data As String)", "QTUserData.Remove(index As Integer)",
    "QTUserData.Text.Get",
    // QTTrack
    "QTTrack.__exit", "QTTrack.Name.Get", "QTTrack.Name.Set", "QTTrack.Enabled.Get",
    "QTTrack.Enabled.Set", "QTTrack.Duration.Get", "QTTrack.Offset.Get", "QTTrack.Offset.Set",
    "QTTrack.Layer.Get", "QTTrack.Layer.Set", "QTTrack.Volume.Get", "QTTrack.Volume.Set",
    "QTTrack.MediaType.Get", "QTTrack.TimeScale.Get", "QTTrack.UserData.Get",
    "QTTrack.Language.Get", "QTTrack.Language.Set", "QTTrack.Index.Get",
    // QTVideoTrack
    "QTVideoTrack.__exit", "QTVideoTrack.Width.Get", "QTVideoTrack.Height.Get",
    "QTVideoTrack.Depth.Get", "QTVideoTrack.FrameCount.Get", "QTVideoTrack.FrameRate.Get",
    "QTVideoTrack.AppendPicture(image As Picture)",
    "QTVideoTrack.AppendPicture(image As Picture, duration As Integer)",
    "QTVideoTrack.Compressor.Set", "QTVideoTrack.Quality.Set", "QTVideoTrack.KeyFrameRate.Set",
    // QTGraphicsExporter
    "QTGraphicsExporter.__exit", "QTGraphicsExporter.LastError.Get As String",
    "QTGraphicsExporter.SavePicture(location As FolderItem, image As Picture) As Boolean",
    "QTGraphicsExporter.Depth.Get", "QTGraphicsExporter.Depth.Set",
    "QTGraphicsExporter.TargetDataSize.Get", "QTGraphicsExporter.TargetDataSize.Set",
    "QTGraphicsExporter.Resolution.Get", "QTGraphicsExporter.CompressionQuality.Get",
    "QTGraphicsExporter.CompressionQuality.Set", "QTGraphicsExporter.Resolution.Set",
    "QTGraphicsExporter.Format.Get", "QTGraphicsExporter.Extension.Get",
    "QTGraphicsExporter.TileSizeProblem(width As Integer, height As Integer) As String",
    // QTSoundTrack
    "QTSoundTrack.__exit", "QTSoundTrack.Balance.Get", "QTSoundTrack.Balance.Set",
    "QTSoundTrack.Bass.Get", "QTSoundTrack.Bass.Set", "QTSoundTrack.Treble.Get",
    "QTSoundTrack.Treble.Set", "QTSoundTrack.SampleRate.Get", "QTSoundTrack.SampleSize.Get",
    "QTSoundTrack.Channels.Get", "QTSoundTrack.Compressor.Get",
    "QTSoundTrack.AppendSound(data As MemoryBlock)", "QTSoundTrack.Mute.Get",
    "QTSoundTrack.Mute.Set", "QTSoundTrack.Level.Get", "QTSoundTrack.Audio3D.Get",
    "QTSoundTrack.Pan.Get", "QTSoundTrack.Pan.Set",
    // EditableMovie
    "EditableMovie.__exit", "EditableMovie.Name.Get", "EditableMovie.Name.Set",
    "EditableMovie.Duration.Get", "EditableMovie.TimeScale.Get", "EditableMovie.TimeScale.Set",
    "EditableMovie.Width.Get", "EditableMovie.Height.Get", "EditableMovie.TrackCount.Get",
    "EditableMovie.Track(index As Integer) As QTTrack",
    "EditableMovie.VideoTrack(index As Integer) As QTVideoTrack",
    "EditableMovie.SoundTrack(index As Integer) As QTSoundTrack",
    "EditableMovie.NewVideoTrack(width As Integer, height As Integer, depth As Integer) As QTVideoTrack",
    "EditableMovie.NewSoundTrack() As QTSoundTrack", "EditableMovie.RemoveTrack(index As Integer)",
    "EditableMovie.Commit()", "EditableMovie.Revert()", "EditableMovie.Undo()",
    "EditableMovie.Redo()", "EditableMovie.Cut()", "EditableMovie.Copy()",
    "EditableMovie.Paste()", "EditableMovie.Clear()", "EditableMovie.SelectAll()",
    "EditableMovie.SelectionStart.Get", "EditableMovie.SelectionStart.Set",
    "EditableMovie.SelectionLength.Get", "EditableMovie.SelectionLength.Set",
    "EditableMovie.InsertSegment(movie As EditableMovie, start As Double, length As Double)",
    "EditableMovie.ScaleSegment(start As Double, length As Double, newLength As Double)",
    "EditableMovie.UserData.Get", "EditableMovie.Copyright.Get", "EditableMovie.Copyright.Set",
    "EditableMovie.Author.Get", "EditableMovie.Author.Set", "EditableMovie.Comment.Get",
    "EditableMovie.Comment.Set", "EditableMovie.PosterTime.Get", "EditableMovie.PosterTime.Set",
    "EditableMovie.Flatten(location As FolderItem) As Boolean",
    "EditableMovie.ExportPicture(time As Double) As Picture",
};
static_assert(!kTexts.back().empty(), "every entry has its declared text");
}  // namespace

const std::array<std::string_view, kPluginEntrypointCount>& PluginEntrypointTexts() { return kTexts; }

void InitPluginEntrypoints_() {
  PluginEntrypointsTable* table = RuntimeAllocatePluginEntrypointsTable(kPluginEntrypointCount);
  for (int index = 0; index < kPluginEntrypointCount; ++index)
    table->entries[size_t(index)] = RuntimeLookupPluginEntrypoint(std::string(kTexts[size_t(index)]));
}
