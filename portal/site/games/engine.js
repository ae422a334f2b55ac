'use strict';
// What every game page shares: the canvas loop, the ready and game-over
// banners, scores with the best kept in localStorage, generated sounds, and
// the page's buttons (top-up pop-up, full screen). A game hands Ludex.play an
// object with reset(), update(seconds), draw(context) and, as it needs them,
// key(name, down), press(x, y) and point(x, y), in play-area pixels.
const Ludex = (() => {
  const canvas = document.getElementById('stage');
  const context = canvas.getContext('2d');
  const number = document.body.dataset.game;
  const colour = document.body.dataset.colour;
  // The frame round the play area, in the game's colour.
  const EDGE = 6;
  const width = canvas.width - 2 * EDGE;
  const height = canvas.height - 2 * EDGE;
  const bestKey = 'ludex-best-' + number;
  const $ = id => document.getElementById(id);
  let game = null;
  let state = 'ready';
  let banner = '点击画面或按空格开始';
  let score = 0;
  let coins = 0;
  let audio = null;
  let last = 0;
  // The operator's frame-rate statistics: frames drawn in the first seconds after play starts.
  const SAMPLE_SECONDS = 5;
  let sample = null;

  function beep(frequency = 660, seconds = 0.08) {
    // A machine without a sound device still plays, silently.
    try {
      audio = audio || new AudioContext();
      const tone = audio.createOscillator();
      const volume = audio.createGain();
      tone.type = 'square';
      tone.frequency.value = frequency;
      volume.gain.setValueAtTime(0.06, audio.currentTime);
      volume.gain.exponentialRampToValueAtTime(0.001, audio.currentTime + seconds);
      tone.connect(volume).connect(audio.destination);
      tone.start();
      tone.stop(audio.currentTime + seconds);
    } catch (e) {
      console.log('no sound: ' + e);
    }
  }

  const best = () => Number(localStorage.getItem(bestKey) || 0);

  function showScores() {
    $('score').textContent = score;
    $('best').textContent = best();
    $('coins').textContent = coins;
  }

  function setScore(value) {
    score = value;
    if (score > best()) localStorage.setItem(bestKey, String(score));
    showScores();
  }

  function start() {
    state = 'playing';
    game.reset();
    setScore(0);
    beep(880);
  }

  function over(text = '游戏结束') {
    state = 'over';
    banner = text + '，得分 ' + score + ' · 点击或按空格再来';
    beep(220, 0.3);
  }

  function drawBanner() {
    context.fillStyle = 'rgba(0, 0, 0, 0.6)';
    context.fillRect(EDGE, canvas.height / 2 - 30, width, 60);
    context.fillStyle = '#fff';
    context.font = 'bold 22px sans-serif';
    context.textAlign = 'center';
    context.textBaseline = 'middle';
    context.fillText(banner, canvas.width / 2, canvas.height / 2);
  }

  function countFrame(time) {
    if (sample === null && state === 'playing') sample = { from: time, frames: 0 };
    if (sample === null || sample.sent) return;
    sample.frames++;
    if (time - sample.from < SAMPLE_SECONDS * 1000) return;
    sample.sent = true;
    fetch('/stat?game=' + number + '&frames=' + (sample.frames - 1) + '&seconds=' + (time - sample.from) / 1000);
  }

  function frame(time) {
    const seconds = Math.min(0.05, (time - last) / 1000 || 0);
    last = time;
    countFrame(time);
    if (state === 'playing') game.update(seconds);
    context.fillStyle = '#10141c';
    context.fillRect(0, 0, canvas.width, canvas.height);
    context.save();
    context.translate(EDGE, EDGE);
    context.beginPath();
    context.rect(0, 0, width, height);
    context.clip();
    game.draw(context);
    context.restore();
    if (state !== 'playing') drawBanner();
    context.fillStyle = colour;
    context.fillRect(0, 0, canvas.width, EDGE);
    context.fillRect(0, canvas.height - EDGE, canvas.width, EDGE);
    context.fillRect(0, 0, EDGE, canvas.height);
    context.fillRect(canvas.width - EDGE, 0, EDGE, canvas.height);
    requestAnimationFrame(frame);
  }

  function inPlayArea(event) {
    const box = canvas.getBoundingClientRect();
    return [event.clientX - box.left - EDGE, event.clientY - box.top - EDGE];
  }

  const playKeys = ['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', ' '];
  function onKey(event, down) {
    if (event.target.tagName === 'INPUT') return;
    if (playKeys.includes(event.key)) event.preventDefault();
    if (down && state !== 'playing' && (event.key === ' ' || event.key === 'Enter')) return start();
    if (state === 'playing' && game.key) game.key(event.key, down);
  }
  window.addEventListener('keydown', event => onKey(event, true));
  window.addEventListener('keyup', event => onKey(event, false));
  canvas.addEventListener('mousedown', event => {
    event.preventDefault();
    if (state !== 'playing') return start();
    if (game.press) game.press(...inPlayArea(event));
  });
  canvas.addEventListener('mousemove', event => {
    if (state === 'playing' && game.point) game.point(...inPlayArea(event));
  });

  for (const button of document.querySelectorAll('.tool, #login button')) {
    button.addEventListener('click', () => beep(990, 0.05));
  }
  $('top-up').addEventListener('click', () => {
    window.open('/topup.html?game=' + number, 'top-up', 'width=360,height=240');
  });
  window.addEventListener('message', event => {
    if (event.origin !== location.origin || !event.data || event.data.kind !== 'top-up') return;
    coins += Number(event.data.coins) || 0;
    showScores();
    beep(1320, 0.15);
    fetch('/wallet?game=' + number + '&coins=' + coins);
  });
  $('full-screen').addEventListener('click', () => $('arena').requestFullscreen());

  function play(definition) {
    game = definition;
    game.reset();
    showScores();
    // The operator's page-view statistics.
    fetch('/stat?game=' + number + '&title=' + encodeURIComponent(document.title));
    requestAnimationFrame(frame);
  }

  const random = n => Math.floor(Math.random() * n);

  return {
    play, over, beep, random, colour, width, height,
    score: () => score,
    addScore: points => setScore(score + points),
    setScore,
  };
})();
