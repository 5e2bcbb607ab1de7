// The page's sound, played by the browser's audio thread: each file is decoded once, the music
// by one buffer source (played once; "stopped" when it has ended, so the game restarts it) and
// the effects by another, one at a time. The mix: music and effects each through their gain,
// then the mute's gain. The context is made at the player's first input, so the browser lets
// it sound.
"use strict";
window.PageSound = class PageSound {
  constructor(muted, musicGain, effectGain) {
    const Context = window.AudioContext || window.webkitAudioContext;
    // Larger buffers than an instrument's: the audio threads wake less often, and an
    // effect's few tens of milliseconds late go unnoticed.
    this.context = new Context({ latencyHint: "playback" });
    this.out = this.gain(this.context.destination, muted ? 0 : 1);
    this.musicOut = this.gain(this.out, musicGain);
    this.effectOut = this.gain(this.out, effectGain);
    this.decoded = new Map();  // file name -> Promise of its AudioBuffer (null: cannot play)
    this.files = new Map();    // file name -> whether it is there
    this.music = null;         // { name, playing, source }
    this.effect = null;        // the source now playing
  }
  gain(to, value) {
    const node = this.context.createGain();
    node.gain.value = value;
    node.connect(to);
    return node;
  }
  // Whether the file is there, reading it the first time (`read(name)`: its bytes, the promise
  // of them while they are still coming, or null). One that never comes is silent.
  found(name, read) {
    if (!this.files.has(name)) {
      const bytes = read(name);
      this.files.set(name, !!bytes);
      if (bytes) {
        this.decoded.set(name, Promise.resolve(bytes).then((b) => {
          if (!b) throw new Error("it did not come");
          return this.context.decodeAudioData(b.slice().buffer);
        }).catch((e) => {
          console.warn("sevenchips: cannot play " + name + " (" + e + ")");
          return null;
        }));
      }
    }
    return this.files.get(name);
  }
  // A buffer source that plays `buffer` into `to`, ended by its end or by stop().
  start(buffer, to, ended) {
    const source = this.context.createBufferSource();
    source.buffer = buffer;
    source.connect(to);
    source.onended = ended;
    source.start();
    return source;
  }
  setMuted(muted) { this.out.gain.value = muted ? 0 : 1; }
  hold(on) { (on ? this.context.suspend() : this.context.resume()).catch(() => {}); }

  // False when the piece is missing.
  openMusic(name, read) {
    this.closeMusic();
    if (!this.found(name, read)) return false;
    this.music = { name, playing: false, source: null, buffer: this.decoded.get(name) };
    return true;
  }
  playMusic() {
    const music = this.music;
    this.stopMusic();
    music.playing = true;
    const asked = music.asked = {};  // this play, not a later one
    music.buffer.then((buffer) => {
      if (music.asked !== asked || !music.playing) return;
      // One that cannot play (it did not come, or is damaged) is silent and never ends, so
      // the game's watchdog does not restart it, as it never restarts a piece that is not there.
      if (!buffer) return;
      const source = music.source = this.start(buffer, this.musicOut, () => {
        if (music.source === source) { music.source = null; music.playing = false; }
      });
    });
  }
  stopMusic() {
    const music = this.music;
    music.playing = false;
    music.asked = null;
    if (music.source) { const s = music.source; music.source = null; s.stop(); }
  }
  seekMusic() { if (this.music.playing) this.playMusic(); }
  closeMusic() {
    if (this.music) this.stopMusic();
    this.music = null;
  }
  musicPlaying() { return !!(this.music && this.music.playing); }

  // A missing effect (or none: stop) is silent, and still cuts off the one playing.
  playEffect(name, read) {
    if (this.effect) { const s = this.effect; this.effect = null; s.stop(); }
    const asked = this.effectAsked = {};
    if (!name || !this.found(name, read)) return;
    this.decoded.get(name).then((buffer) => {
      if (!buffer || this.effectAsked !== asked) return;
      const source = this.effect = this.start(buffer, this.effectOut, () => {
        if (this.effect === source) this.effect = null;
      });
    });
  }
  close() {
    this.closeMusic();
    this.playEffect("");
  }
};
