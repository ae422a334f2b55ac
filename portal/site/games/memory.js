// Pairs: turn two cards over with clicks; a matching pair stays open. Every
// pair found scores, and the fewer turns it took, the bigger the final bonus.
Ludex.play((() => {
  const SIGNS = ['龙', '虎', '凤', '龟', '剑', '盾', '弓', '马'];
  const COLUMNS = 4;
  const ROWS = 4;
  const CARD = {width: 100, height: 80, gap: 12};
  const LEFT = (Ludex.width - COLUMNS * CARD.width - (COLUMNS - 1) * CARD.gap) / 2;
  const TOP = (Ludex.height - ROWS * CARD.height - (ROWS - 1) * CARD.gap) / 2;
  let cards, open, turns, wait;

  const place = i => [LEFT + (i % COLUMNS) * (CARD.width + CARD.gap), TOP + Math.floor(i / COLUMNS) * (CARD.height + CARD.gap)];

  return {
    reset() {
      const signs = SIGNS.concat(SIGNS);
      for (let i = signs.length - 1; i > 0; i--) {
        const j = Ludex.random(i + 1);
        [signs[i], signs[j]] = [signs[j], signs[i]];
      }
      cards = signs.map(sign => ({sign, shown: false, kept: false}));
      open = [];
      turns = 0;
      wait = 0;
    },
    press(x, y) {
      if (wait > 0) return;
      const i = cards.findIndex((card, n) => {
        const [cx, cy] = place(n);
        return x >= cx && x < cx + CARD.width && y >= cy && y < cy + CARD.height;
      });
      if (i < 0 || cards[i].shown) return;
      cards[i].shown = true;
      open.push(cards[i]);
      Ludex.beep(600, 0.04);
      if (open.length < 2) return;
      turns += 1;
      const [a, b] = open;
      if (a.sign !== b.sign) {
        wait = 0.7;
        return;
      }
      a.kept = b.kept = true;
      open = [];
      Ludex.addScore(20);
      Ludex.beep(1100, 0.1);
      if (cards.every(card => card.kept)) {
        Ludex.addScore(Math.max(0, 100 - 5 * (turns - SIGNS.length)));
        Ludex.over('全部收齐，用了 ' + turns + ' 步');
      }
    },
    update(seconds) {
      if (wait <= 0) return;
      wait -= seconds;
      if (wait > 0) return;
      for (const card of open) card.shown = false;
      open = [];
    },
    draw(context) {
      context.font = 'bold 40px serif';
      context.textAlign = 'center';
      context.textBaseline = 'middle';
      cards.forEach((card, i) => {
        const [x, y] = place(i);
        context.fillStyle = card.shown ? (card.kept ? '#f0e0b0' : '#ffffff') : Ludex.colour;
        context.fillRect(x, y, CARD.width, CARD.height);
        if (!card.shown) return;
        context.fillStyle = '#402010';
        context.fillText(card.sign, x + CARD.width / 2, y + CARD.height / 2);
      });
      context.fillStyle = '#ffffff';
      context.font = '14px sans-serif';
      context.textAlign = 'left';
      context.textBaseline = 'top';
      context.fillText('翻牌次数 ' + turns, 8, 6);
    },
  };
})());
