"""Writes an LMMS 1.2 project (.mmp): one instrument track that plays a VST instrument
through LMMS's VST host, with the plug-in's state stored the way LMMS stores it, and
one pattern of notes.

LMMS keeps a VST instrument as <instrument name="vestige"><vestige plugin=PATH
program=N chunk=BASE64/></instrument>. On loading it selects program N and then hands the
chunk back to the plug-in as a bank chunk. Note positions and lengths are in ticks of
48 to the quarter note; a note's volume of 100 goes out as MIDI velocity 127.
"""

import base64
from xml.sax.saxutils import quoteattr

TICKS_PER_QUARTER = 48
TICKS_PER_BAR = 4 * TICKS_PER_QUARTER
FULL_VOLUME = 100  # LMMS note volume that becomes MIDI velocity 127

# Everything in the instrument track that could colour the sound stays neutral: unity
# volume, centre pan, the volume/filter envelopes and the filter switched off, no chord or
# arpeggio, no effects.
_ENVELOPE = ('lspd="0.1" ctlenvamt="0" lpdel="0" pdel="0" amt="0" hold="0.5" syncmode="0" '
             'userwavefile="" latt="0" sustain="0.5" lamt="0" lshp="0" lspd_denominator="4" '
             'lspd_numerator="4" x100="0" rel="0.1" dec="0.5" att="0"')


def project(plugin_path, program, bank_chunk, notes, beats_per_minute, track_name="Quindle"):
    """notes: (key, position in ticks, length in ticks, volume 0..200). Returns the XML."""
    bars = max(1, -(-max(position + length for _, position, length, _ in notes) // TICKS_PER_BAR))
    note_lines = "\n".join(
        f'          <note key="{key}" vol="{volume}" pos="{position}" pan="0" len="{length}"/>'
        for key, position, length, volume in notes)
    chunk = base64.b64encode(bytes(bank_chunk)).decode("ascii")
    return f'''<?xml version="1.0"?>
<!DOCTYPE lmms-project>
<lmms-project type="song" version="1.0" creator="LMMS" creatorversion="1.2.2">
  <head timesig_denominator="4" bpm="{beats_per_minute}" masterpitch="0" mastervol="100" timesig_numerator="4"/>
  <song>
    <trackcontainer type="song">
      <track type="0" muted="0" name={quoteattr(track_name)} solo="0">
        <instrumenttrack pitch="0" vol="100" fxch="0" pan="0" basenote="57" usemasterpitch="1" pitchrange="1">
          <instrument name="vestige">
            <vestige plugin={quoteattr(plugin_path)} guivisible="0" program="{program}" chunk="{chunk}"/>
          </instrument>
          <eldata fwet="0" ftype="0" fres="0.5" fcut="14000">
            <elvol {_ENVELOPE}/>
            <elcut {_ENVELOPE}/>
            <elres {_ENVELOPE}/>
          </eldata>
          <chordcreator chordrange="1" chord="0" chord-enabled="0"/>
          <arpeggiator arpdir="0" arpgate="100" arptime_denominator="4" syncmode="0" arp-enabled="0" arprange="1" arptime_numerator="4" arpmode="0" arp="0" arptime="100"/>
          <midiport inputchannel="0" fixedinputvelocity="-1" outputcontroller="0" outputchannel="1" fixedoutputvelocity="-1" readable="0" fixedoutputnote="-1" outputprogram="1" writable="0" basevelocity="127" inputcontroller="0"/>
          <fxchain numofeffects="0" enabled="0"/>
        </instrumenttrack>
        <pattern type="1" muted="0" steps="16" name="Notes" pos="0" len="{bars * TICKS_PER_BAR}">
{note_lines}
        </pattern>
      </track>
    </trackcontainer>
    <fxmixer>
      <fxchannel num="0" muted="0" volume="1" name="Master" soloed="0">
        <fxchain numofeffects="0" enabled="0"/>
      </fxchannel>
    </fxmixer>
    <timeline lp0pos="0" lp1pos="{TICKS_PER_BAR}" lpstate="0"/>
    <controllers/>
  </song>
</lmms-project>
'''


def config(working_directory):
    """A private LMMS configuration so that a run neither reads nor changes the user's."""
    directory = quoteattr(working_directory.rstrip("/") + "/")
    return f'''<?xml version="1.0"?>
<!DOCTYPE lmms-config-file>
<lmms version="1.2.2">
  <paths workingdir={directory} vstdir={directory} laddir={directory} sf2dir={directory} gigdir={directory} stkdir="/usr/share/stk/rawwaves/" artwork="data:/themes/default/" backgroundartwork="" defaultsf2=""/>
  <app nomsgaftersetup="1" nanhandler="1"/>
  <ui vstembedmethod="headless"/>
</lmms>
'''
