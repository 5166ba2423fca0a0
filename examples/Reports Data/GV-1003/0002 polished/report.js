// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-1003",
  reportNumber: 2,
  reportType: "RT_POLISH",
  dateTime: "2026-04-02 10:00:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Value"],
  rows: [
    ["Carat weight", "1.20 ct"],
    ["Measurements", "6.10 × 6.14 × 3.78 mm"],
    ["Colour grade", "D"],
    ["Clarity grade", "VS2"],
    ["Cut grade", "Very Good"],
    ["Fluorescence", "Faint"]
  ]
};
